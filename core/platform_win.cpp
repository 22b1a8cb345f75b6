#include <windows.h>

#include "core/platform.h"
#include "core/process_win.h"

namespace zel {
namespace {

class Win32Platform final : public Platform {
 public:
  CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                           uint32_t timeoutMs) override {
    return RunHiddenProcess(program, arguments, timeoutMs);
  }

  std::wstring SystemDirectory() override {
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(buffer, length);
  }

  std::wstring SystemErrorMessage(uint32_t code) override {
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length =
        FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
    return text;
  }

  uint32_t FileAttributes(const std::wstring& path) override { return GetFileAttributesW(path.c_str()); }

  std::vector<std::wstring> LogicalDriveRoots() override {
    std::vector<std::wstring> roots;
    const DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    if (needed == 0) return roots;
    std::wstring buffer(needed + 1, L'\0');
    const DWORD length = GetLogicalDriveStringsW(needed + 1, buffer.data());
    if (length == 0 || length > needed) return roots;
    for (const wchar_t* root = buffer.c_str(); *root != L'\0'; root += wcslen(root) + 1) roots.emplace_back(root);
    return roots;
  }

  std::vector<std::wstring> VolumeNames() override {
    std::vector<std::wstring> names;
    std::wstring buffer(32768, L'\0');
    HANDLE find = FindFirstVolumeW(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      names.emplace_back(buffer.c_str());
    } while (FindNextVolumeW(find, buffer.data(), static_cast<DWORD>(buffer.size())));
    FindVolumeClose(find);
    return names;
  }
};

}  // namespace

Platform& DefaultPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace zel
