#pragma once
// The simulated bcdboot: copies (placeholder) boot files to a system
// partition and adds the Windows installation to a BCD store, the way the
// real tool does for the forms our program runs:
//   bcdboot "D:\Windows" [/s S:] [/f UEFI|BIOS|ALL] [/d] [/l locale]
// Files are reached through callbacks, so unit tests run it on a fake disk.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/common/outcome.h"

namespace sim {

enum class Firmware { kUefi, kBios };

struct BcdbootRequest {
  std::wstring windowsFolder;  // as given, trailing separators removed
  std::wstring systemDrive;    // "S:" from /s; empty: the system store and no files
  // From /f (ALL gives both); without /s, the system store's own firmware.
  std::vector<Firmware> firmwares;
  bool keepDefault = false;  // /d
  std::wstring locale = L"en-US";
};

// The source first, then the options in any order, case-insensitive. /f needs
// /s, as for the real tool. False for anything else (the caller prints usage).
bool ParseBcdbootArguments(const std::vector<std::wstring>& args, BcdbootRequest& request);

struct BcdbootFiles {
  std::wstring systemStorePath;  // the running system's store; empty when none is configured
  std::function<bool(const std::wstring& path)> isFolder;
  std::function<bool(const std::wstring& folder)> createFolders;  // with every missing parent
  std::function<bool(const std::wstring& path, std::string& bytes)> read;
  std::function<bool(const std::wstring& path, std::string_view bytes)> write;  // replaces safely
};

// Runs one bcdboot invocation; prints "Boot files successfully created." on success.
Outcome ExecuteBcdboot(const std::vector<std::wstring>& args, const BcdbootFiles& files);

}  // namespace sim
