#pragma once
// The simulated mountvol: `X: /S` gives the simulated EFI System Partition (a
// folder) the drive letter X:, `X: /D` takes a letter it gave away again. The
// decisions and messages are here; the machine is reached through MountHost,
// which the Windows side fills with Wine's mount manager (mount_manager_win.cpp).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/common/outcome.h"

namespace sim {

struct MountvolRequest {
  wchar_t letter = 0;  // upper case
  bool remove = false;  // /D; otherwise /S
};

// "X: /S" or "X: /D": a letter with a colon (a trailing backslash allowed),
// then one switch, in any case. False for every other form.
bool ParseMountvolArguments(const std::vector<std::wstring>& args, MountvolRequest& request);

struct MountHost {
  std::wstring espFolder;  // Windows path of the folder that plays the partition; empty when unset
  std::function<bool(const std::wstring& folder)> isFolder;
  std::function<bool(wchar_t letter)> letterInUse;
  // True when this tool mounted the letter and it still shows what was mounted.
  std::function<bool(wchar_t letter)> mountedByUs;
  // Each returns 0 or a Win32 error code; a mount is recorded, a removal forgets it.
  std::function<uint32_t(wchar_t letter, const std::wstring& folder)> mount;
  std::function<uint32_t(wchar_t letter)> unmount;
  std::function<std::wstring(uint32_t error)> errorText;  // the system's message, CR LF ended
};

// Runs one mountvol invocation: nothing printed on success, as the real tool.
Outcome ExecuteMountvol(const std::vector<std::wstring>& args, const MountHost& host);

}  // namespace sim
