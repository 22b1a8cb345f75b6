#include "sim/mountvol/mount_manager_win.h"

#include <windows.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "core/win_handle.h"

namespace sim {
namespace {

// Wine's private mount manager interface (include/ddk/mountmgr.h in Wine's
// sources): not in any SDK, so the code and the layout are restated here.
constexpr DWORD kMountManagerType = 0x6d;  // 'm'
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(kMountManagerType, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
constexpr DWORD kQueryUnixDrive = CTL_CODE(kMountManagerType, 33, METHOD_BUFFERED, FILE_READ_ACCESS);

struct UnixDrive {
  ULONG size;  // the whole buffer, strings included
  DWORD type;  // a DRIVE_* value
  DWORD fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;  // a NUL-ended Unix path after the structure; 0: none
  USHORT deviceOffset;
  USHORT labelOffset;
};
static_assert(sizeof(UnixDrive) == 32 && offsetof(UnixDrive, letter) == 24, "must match Wine's layout");

using CharPath = char*(CDECL*)(LPCWSTR);

zel::UniqueHandle OpenMountManager(DWORD access) {
  return zel::UniqueHandle(CreateFileW(L"\\\\.\\MountPointManager", access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
}

// Without a path the same request removes the letter.
uint32_t SendDefine(wchar_t letter, const std::string* unixPath) {
  std::vector<char> buffer(sizeof(UnixDrive) + (unixPath ? unixPath->size() + 1 : 0), '\0');
  UnixDrive drive{};
  drive.size = static_cast<ULONG>(buffer.size());
  drive.type = DRIVE_FIXED;
  drive.letter = static_cast<WCHAR>(letter - L'A' + L'a');
  if (unixPath != nullptr) {
    drive.mountPointOffset = sizeof(UnixDrive);
    unixPath->copy(buffer.data() + sizeof(UnixDrive), unixPath->size());
  }
  std::memcpy(buffer.data(), &drive, sizeof drive);
  const zel::UniqueHandle manager = OpenMountManager(GENERIC_READ | GENERIC_WRITE);
  if (!manager.Valid()) return GetLastError();
  DWORD returned = 0;
  if (!DeviceIoControl(manager.Get(), kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                       0, &returned, nullptr)) {
    return GetLastError();
  }
  return 0;
}

}  // namespace

bool UnixPathOf(const std::wstring& windowsPath, std::string& unixPath) {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto toUnix = kernel ? reinterpret_cast<CharPath>(
                                   reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")))
                             : nullptr;
  if (toUnix == nullptr) return false;  // not Wine
  wchar_t full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(windowsPath.c_str(), MAX_PATH * 4, full, nullptr);
  if (length == 0 || length >= MAX_PATH * 4) return false;
  char* path = toUnix(full);
  if (path == nullptr) return false;
  unixPath = path;
  HeapFree(GetProcessHeap(), 0, path);  // Wine allocates it from the process heap
  return !unixPath.empty();
}

uint32_t DefineUnixDrive(wchar_t letter, const std::string& unixPath) { return SendDefine(letter, &unixPath); }

uint32_t RemoveUnixDrive(wchar_t letter) {
  const uint32_t error = SendDefine(letter, nullptr);
  if (error != 0) return error;
  // Wine leaves the \??\X: link to the removed volume until the wineserver
  // ends, and GetLogicalDrives would go on counting the letter as used.
  const wchar_t device[] = {letter, L':', L'\0'};
  wchar_t target[MAX_PATH];
  if (QueryDosDeviceW(device, target, MAX_PATH) != 0) DefineDosDeviceW(DDD_REMOVE_DEFINITION, device, nullptr);
  return 0;
}

bool QueryUnixDrive(wchar_t letter, std::string& unixPath) {
  UnixDrive query{};
  query.size = sizeof query;
  query.letter = static_cast<WCHAR>(letter - L'A' + L'a');
  std::vector<char> answer(sizeof(UnixDrive) + 4 * MAX_PATH, '\0');
  const zel::UniqueHandle manager = OpenMountManager(GENERIC_READ);
  if (!manager.Valid()) return false;
  DWORD returned = 0;
  if (!DeviceIoControl(manager.Get(), kQueryUnixDrive, &query, sizeof query, answer.data(),
                       static_cast<DWORD>(answer.size()), &returned, nullptr) ||
      returned < sizeof(UnixDrive)) {
    return false;
  }
  UnixDrive drive;
  std::memcpy(&drive, answer.data(), sizeof drive);
  if (drive.mountPointOffset == 0 || drive.mountPointOffset >= returned) return false;
  const char* start = answer.data() + drive.mountPointOffset;
  unixPath.assign(start, strnlen(start, returned - drive.mountPointOffset));
  return true;
}

}  // namespace sim
