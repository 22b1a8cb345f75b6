#include <windows.h>

#include "app/settings.h"
#include "core/win_handle.h"
#include "ui/controls_win.h"
#include "ui/language.h"
#include "ui/palette.h"

namespace app {
namespace {

// No settings file of ours comes near this; a larger one is neither read nor rewritten.
constexpr size_t kMaxSettingsBytes = 1 << 20;

enum class FileRead { Missing, Whole, Unreadable };

FileRead ReadSettingsFile(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  zel::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing : FileRead::Unreadable;
  }
  char chunk[4096];
  DWORD read = 0;
  while (bytes.size() <= kMaxSettingsBytes) {
    if (!ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr)) break;
    if (read == 0) return FileRead::Whole;
    bytes.append(chunk, read);
  }
  bytes.clear();
  return FileRead::Unreadable;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  zel::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file.Valid() && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file.Get());
}

}  // namespace

std::wstring SettingsPath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  const size_t slash = path.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + L"settings.cfg";
}

void LoadSettings() {
  std::string bytes;
  ReadSettingsFile(SettingsPath(), bytes);
  const Preferences preferences = ParsePreferences(bytes);
  zel::g_vietnamese = preferences.vietnamese;
  if (!preferences.darkTheme) {
    ui::g_darkTheme = false;
    ui::ResetEditBrush();
  }
}

void SaveSettings() {
  const std::wstring path = SettingsPath();
  std::string old;
  if (ReadSettingsFile(path, old) == FileRead::Unreadable) return;  // what was not read whole is not rewritten
  const std::string text = RewriteSettings(old, Preferences{zel::g_vietnamese, ui::g_darkTheme});
  // Read-only media or a failed write: the old file stays whole, the switch still holds for this run.
  const std::wstring temporary = path + L".tmp";
  if (!WriteNewFile(temporary, text) ||
      !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
  }
}

}  // namespace app
