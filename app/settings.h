#pragma once
// settings.cfg beside the executable: the language and the style. Other lines
// in the file belong to the user and are carried over when it is rewritten.
#include <string>
#include <string_view>

namespace app {

struct Preferences {
  bool vietnamese = true;
  bool darkTheme = true;
};

// The start-up reading: a substring search of the lower-cased text, so
// "LANGUAGE=EN", "language=english" and "xstyle=light" all count.
Preferences ParsePreferences(std::string_view fileBytes);
// The file as rewritten: every other non-blank line in order (CR LF), then the two keys.
std::string RewriteSettings(std::string_view fileBytes, const Preferences& preferences);

// Win32: the file beside the executable, read (at most 64 KiB) and written.
std::wstring SettingsPath();
void LoadSettings();  // sets zel::g_vietnamese and ui::g_darkTheme
void SaveSettings();  // from the current flags; failures are silent

}  // namespace app
