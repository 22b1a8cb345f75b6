#include "core/esp.h"

#include "core/command_runner.h"
#include "core/platform.h"

namespace zel {

bool MountEsp(std::wstring& mountLetter, Fault& error) {
  mountLetter.clear();
  error.clear();
  Platform& platform = CurrentPlatform();
  const uint32_t used = platform.LogicalDriveMask();
  wchar_t letter = 0;
  for (wchar_t candidate = L'Z'; candidate >= L'D'; --candidate) {
    if ((used & (1u << (candidate - L'A'))) == 0) {
      letter = candidate;
      break;
    }
  }
  if (letter == 0) {
    error = {FaultKind::NoFreeDriveLetter, {}};
    return false;
  }
  const std::wstring candidateLetter = std::wstring(1, letter) + L":";
  const CommandResult result =
      RunProcess(SystemToolPath(L"mountvol.exe"), candidateLetter + L" /S", kShortToolTimeoutMs);
  const uint32_t root = platform.FileAttributes(candidateLetter + L"\\");
  if (result.Succeeded() && root != kInvalidFileAttributes && (root & kAttributeDirectory)) {
    mountLetter = candidateLetter;
    return true;
  }
  error = SaidOr(result.output, FaultKind::EspNotMounted);
  if (result.Succeeded()) UnmountEsp(candidateLetter);  // mounted, but the root is not reachable
  return false;
}

void UnmountEsp(const std::wstring& mountLetter) {
  RunProcess(SystemToolPath(L"mountvol.exe"), mountLetter + L" /D", kShortToolTimeoutMs);
}

}  // namespace zel
