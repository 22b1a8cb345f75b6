#pragma once
// Drive letters for Unix folders through Wine's mount manager, the way
// winecfg defines them. Only meaningful under Wine; on Windows the calls fail.
#include <cstdint>
#include <string>

namespace sim {

// The Unix path of a Windows path, from Wine's wine_get_unix_file_name; false
// when not running under Wine or the path cannot be mapped.
bool UnixPathOf(const std::wstring& windowsPath, std::string& unixPath);

// Makes `letter` (A..Z) a drive whose root is the Unix folder. 0 or a Win32 error code.
uint32_t DefineUnixDrive(wchar_t letter, const std::string& unixPath);

// Removes the drive letter again. 0 or a Win32 error code.
uint32_t RemoveUnixDrive(wchar_t letter);

// The Unix folder a letter shows; false when the letter is not defined.
bool QueryUnixDrive(wchar_t letter, std::string& unixPath);

}  // namespace sim
