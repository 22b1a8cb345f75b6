#pragma once
// File, drive, volume and error-text helpers shared by the store, creation and
// EFI code. None of them fails: missing data gives false or an empty result.
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

// The system's message for a Win32 error code, without its final line end;
// "Win32 error N" when the system has none.
std::wstring Win32ErrorText(uint32_t code);
// True for an existing file; false for a folder or a missing path.
bool FileExists(const std::wstring& path);
// "C:", "D:", ... in the order the system reports them.
std::vector<std::wstring> ListDriveLetters();
// Volume GUID paths, each ending in a backslash.
std::vector<std::wstring> ListVolumes();

}  // namespace zel
