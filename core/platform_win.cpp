#include <windows.h>

#include <algorithm>

#include "core/platform.h"
#include "core/process_win.h"
#include "core/win_handle.h"

namespace zel {
namespace {

// Missing on older systems and some Windows PE builds, and a static import of
// GetFirmwareType aborts the process under Wine: look them all up at run time.
template <typename Function>
Function Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

template <typename Function>
Function Advapi32Function(const char* name) {
  HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
  return advapi ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(advapi, name))) : nullptr;
}

// Owns an open registry key; the application hive behind it unloads when it closes.
class RegistryKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() { RegCloseKey(key_); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_;
};

// A REG_SZ value of any length; false when it is missing, not text or changed between the two calls.
bool ReadRegistryText(HKEY root, const std::wstring& key, const std::wstring& value, std::wstring& text) {
  DWORD size = 0;
  if (RegGetValueW(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS) {
    return false;
  }
  buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
  text = std::move(buffer);
  return true;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool IsFolderPath(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates the folder after its missing parents. A parent that cannot be made
// (a drive or volume root) is no error of its own: only the folder itself counts.
bool MakeFolders(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty() || IsFolderPath(path)) return !path.empty();
  const size_t separator = path.find_last_of(L"\\/");
  if (separator != std::wstring::npos && separator > 0) MakeFolders(path.substr(0, separator));
  return CreateDirectoryW(path.c_str(), nullptr) || IsFolderPath(path);
}

uint32_t LastErrorOr(uint32_t fallback) {
  const DWORD error = GetLastError();
  return error != 0 ? error : fallback;
}

using RegLoadAppKeyWFn = LONG(WINAPI*)(LPCWSTR, PHKEY, REGSAM, DWORD, DWORD);
using GetFirmwareTypeFn = BOOL(WINAPI*)(FIRMWARE_TYPE*);
using GetFirmwareVariableExFn = DWORD(WINAPI*)(LPCWSTR, LPCWSTR, PVOID, DWORD, PDWORD);
using SetFirmwareVariableExFn = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, PVOID, DWORD, DWORD);

class Win32Platform final : public Platform {
 public:
  CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                           uint32_t timeoutMs) override {
    return RunHiddenProcess(program, arguments, timeoutMs);
  }

  std::wstring SystemDirectory() override {
    wchar_t buffer[MAX_PATH];
#ifndef _WIN64
    // A 32-bit program on 64-bit Windows asking for System32 is sent to SysWOW64, which has
    // none of the tools; the Sysnative alias reaches the real folder.
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
      const UINT windows = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
      if (windows == 0 || windows >= MAX_PATH) return {};
      return std::wstring(buffer, windows) + L"\\Sysnative";
    }
#endif
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

  std::wstring ModuleFileName() override {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};  // failed or truncated
    buffer.resize(length);
    return buffer;
  }

  std::wstring TempFolder() override {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length > MAX_PATH - 1) return {};
    return std::wstring(buffer, length);
  }

  bool CreateFolders(const std::wstring& path) override { return MakeFolders(path); }

  bool CreateProbeFile(const std::wstring& path) override {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  }

  bool RemoveFile(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }

  bool SetAttributes(const std::wstring& path, uint32_t attributes) override {
    return SetFileAttributesW(path.c_str(), attributes) != FALSE;
  }

  uint32_t CopyFileTo(const std::wstring& from, const std::wstring& to) override {
    if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
  }

  std::vector<FolderItem> ListFolder(const std::wstring& folder) override {
    std::vector<FolderItem> items;
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                             nullptr, 0));
    if (search.Get() == INVALID_HANDLE_VALUE) return items;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      items.push_back(FolderItem{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0});
    } while (FindNextFileW(search.Get(), &found));
    return items;
  }

  bool ReadFileEnd(const std::wstring& path, size_t maxBytes, std::string& bytes) override {
    bytes.clear();
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return false;
    const uint64_t length = static_cast<uint64_t>(size.QuadPart);
    if (length > maxBytes) {
      LARGE_INTEGER start{};
      start.QuadPart = static_cast<LONGLONG>(length - maxBytes);
      if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return false;
    }
    char chunk[16384];
    DWORD read = 0;
    while (bytes.size() < maxBytes) {
      const DWORD wanted = static_cast<DWORD>(std::min<size_t>(sizeof(chunk), maxBytes - bytes.size()));
      if (!ReadFile(file.Get(), chunk, wanted, &read, nullptr)) return false;
      if (read == 0) break;
      bytes.append(chunk, read);
    }
    return true;
  }

  uint32_t AppendToFile(const std::wstring& path, const std::string& bytes) override {
    // Append-only access: every write lands at the current end, even with another writer.
    const UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastErrorOr(ERROR_GEN_FAILURE);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return LastErrorOr(ERROR_WRITE_FAULT);
    }
    return written == bytes.size() ? 0 : ERROR_WRITE_FAULT;
  }

  uint32_t WriteNewFile(const std::wstring& path, const std::string& bytes) override {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastErrorOr(ERROR_GEN_FAILURE);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (written != bytes.size()) return ERROR_WRITE_FAULT;
    // Flushed before anyone moves it over an older file: a pulled stick must not leave an empty one.
    return FlushFileBuffers(file.Get()) ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
  }

  uint64_t CreationTime(const std::wstring& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
  }

  LocalTime Now() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
  }

  uint32_t ProcessId() override { return GetCurrentProcessId(); }

  bool RegistryString(const std::wstring& key, const std::wstring& value, std::wstring& text) override {
    return ReadRegistryText(HKEY_LOCAL_MACHINE, key, value, text);
  }

  uint32_t LogicalDriveMask() override { return GetLogicalDrives(); }

  uint32_t MoveFileReplacing(const std::wstring& from, const std::wstring& to) override {
    // One replace, never a delete first: when it fails the target is still the old file. Write-through,
    // so that the replace is on the disk when the call returns (sticks get pulled).
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
      return 0;
    }
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
  }

  std::wstring ShortEnvironmentVariable(const std::wstring& name) override {
    wchar_t buffer[16] = {};
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, 16);
    if (length == 0 || length >= 16) return {};
    return std::wstring(buffer, length);
  }

  bool RegistryKeyExists(const std::wstring& key) override {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
  }

  std::vector<std::optional<std::wstring>> HiveFileStrings(const std::wstring& hiveFile,
                                                           const std::vector<std::wstring>& keys,
                                                           const std::wstring& value) override {
    std::vector<std::optional<std::wstring>> texts(keys.size());
    static const auto loadAppKey = Advapi32Function<RegLoadAppKeyWFn>("RegLoadAppKeyW");
    HKEY root = nullptr;
    if (loadAppKey == nullptr || loadAppKey(hiveFile.c_str(), &root, KEY_READ, 0, 0) != ERROR_SUCCESS) return texts;
    // Some systems report success without a usable key (Wine's stub hands back a
    // made-up handle): only a value actually read counts.
    const RegistryKey hive(root);
    for (size_t i = 0; i < keys.size(); ++i) {
      std::wstring text;
      if (ReadRegistryText(hive.Get(), keys[i], value, text)) texts[i] = std::move(text);
    }
    return texts;
  }

  int FirmwareType() override {
    static const auto getType = Kernel32Function<GetFirmwareTypeFn>("GetFirmwareType");
    FIRMWARE_TYPE type = FirmwareTypeUnknown;
    if (getType == nullptr || !getType(&type)) return 0;
    return static_cast<int>(type);
  }

  uint32_t EnablePrivilege(const std::wstring& name) override {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return GetLastError();
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD error = ERROR_NO_SUCH_PRIVILEGE;
    if (LookupPrivilegeValueW(nullptr, name.c_str(), &privileges.Privileges[0].Luid)) {
      // Succeeds even when the token lacks the privilege; only the last error tells.
      AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
      error = GetLastError();
    } else {
      error = GetLastError();
    }
    CloseHandle(token);
    return error;
  }

  uint32_t ReadFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t& value,
                                uint32_t& attributes) override {
    static const auto read = Kernel32Function<GetFirmwareVariableExFn>("GetFirmwareEnvironmentVariableExW");
    if (read == nullptr) return 0;
    DWORD found = 0;
    const DWORD size = read(name.c_str(), vendorGuid.c_str(), &value, sizeof(value), &found);
    attributes = found;
    return size;
  }

  uint32_t WriteFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t value,
                                 uint32_t attributes) override {
    static const auto write = Kernel32Function<SetFirmwareVariableExFn>("SetFirmwareEnvironmentVariableExW");
    if (write == nullptr) return ERROR_PROC_NOT_FOUND;
    if (write(name.c_str(), vendorGuid.c_str(), &value, sizeof(value), attributes)) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
  }

  bool DosDeviceTarget(const std::wstring& device, std::wstring& target) override {
    wchar_t buffer[1024] = {};
    if (QueryDosDeviceW(device.c_str(), buffer, 1024) == 0) return false;
    target = buffer;  // the first of the NUL-separated targets
    return true;
  }
};

}  // namespace

Platform& DefaultPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace zel
