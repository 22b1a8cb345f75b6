#include "sim/mountvol/mountvol.h"

#include "core/text.h"

namespace sim {
namespace {

constexpr std::wstring_view kUsage =
    L"Creates, deletes, or lists a volume mount point.\r\n"
    L"\r\n"
    L"MOUNTVOL drive: /S\r\n"
    L"MOUNTVOL drive: /D\r\n"
    L"\r\n"
    L"    /S          Mounts the EFI System Partition on the given drive.\r\n"
    L"    /D          Removes the volume mount point from the specified drive.\r\n"
    L"\r\n"
    L"The simulated mountvol knows only these two forms.\r\n";

// The system's own texts, as the real tool prints them after a failed call.
constexpr std::wstring_view kParameterIncorrect = L"The parameter is incorrect.\r\n";
constexpr std::wstring_view kFileNotFound = L"The system cannot find the file specified.\r\n";
constexpr std::wstring_view kDirectoryNotEmpty = L"The directory is not empty.\r\n";
constexpr std::wstring_view kAccessDenied = L"Access is denied.\r\n";

Outcome Fail(std::wstring_view message) { return {1, std::wstring(message)}; }

Outcome Mount(wchar_t letter, const MountHost& host) {
  // No partition to find: a machine without one rejects /S as an unknown option.
  if (host.espFolder.empty()) return Fail(kParameterIncorrect);
  if (!host.isFolder(host.espFolder)) return Fail(kFileNotFound);
  if (host.letterInUse(letter)) return Fail(kDirectoryNotEmpty);
  const uint32_t error = host.mount(letter, host.espFolder);
  return error == 0 ? Outcome{} : Fail(host.errorText(error));
}

// Only letters this tool gave away are taken back: removing C: or Wine's Z:
// would break the prefix for every later test.
Outcome Unmount(wchar_t letter, const MountHost& host) {
  if (!host.letterInUse(letter)) return Fail(kFileNotFound);
  if (!host.mountedByUs(letter)) return Fail(kAccessDenied);
  const uint32_t error = host.unmount(letter);
  return error == 0 ? Outcome{} : Fail(host.errorText(error));
}

}  // namespace

bool ParseMountvolArguments(const std::vector<std::wstring>& args, MountvolRequest& request) {
  if (args.size() != 2) return false;
  const std::wstring& point = args[0];
  const wchar_t letter = point.empty() ? 0 : static_cast<wchar_t>(zel::ToLowerChar(point[0]) - L'a' + L'A');
  const bool lettered = letter >= L'A' && letter <= L'Z' && point.size() >= 2 && point[1] == L':' &&
                        (point.size() == 2 || (point.size() == 3 && point[2] == L'\\'));
  const std::wstring action = zel::ToLower(args[1]);
  if (!lettered || (action != L"/s" && action != L"/d")) return false;
  request.letter = letter;
  request.remove = action == L"/d";
  return true;
}

Outcome ExecuteMountvol(const std::vector<std::wstring>& args, const MountHost& host) {
  MountvolRequest request;
  if (!ParseMountvolArguments(args, request)) return Fail(kUsage);
  return request.remove ? Unmount(request.letter, host) : Mount(request.letter, host);
}

}  // namespace sim
