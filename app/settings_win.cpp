#include <windows.h>

#include "app/settings.h"
#include "core/language.h"
#include "ui/controls_win.h"
#include "ui/palette.h"

namespace app {
namespace {

constexpr size_t kMaxSettingsBytes = 65536;

std::string ReadSettingsFile() {
  std::string bytes;
  HANDLE file = CreateFileW(SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[1024];
  DWORD read = 0;
  while (bytes.size() < kMaxSettingsBytes && ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
    bytes.append(chunk, read);
  }
  CloseHandle(file);
  return bytes;
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
  const Preferences preferences = ParsePreferences(ReadSettingsFile());
  zel::g_vietnamese = preferences.vietnamese;
  if (!preferences.darkTheme) {
    ui::g_darkTheme = false;
    ui::ResetEditBrush();
  }
}

void SaveSettings() {
  const std::string text = RewriteSettings(ReadSettingsFile(), Preferences{zel::g_vietnamese, ui::g_darkTheme});
  HANDLE file = CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // read-only media: the switch still holds for this run
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace app
