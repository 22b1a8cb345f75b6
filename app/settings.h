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
// The file as rewritten: every other line byte for byte in order (a last line
// without an end gets CR LF), then the two keys.
std::string RewriteSettings(std::string_view fileBytes, const Preferences& preferences);

// Win32: the file beside the executable. It is read whole; a save writes a
// temporary file beside it and moves that over it, so a failed write leaves the
// old file as it was. A file that exists but cannot be read whole (locked, or
// larger than any settings file) is never rewritten.
std::wstring SettingsPath();
void LoadSettings();  // sets zel::g_vietnamese and ui::g_darkTheme
void SaveSettings();  // from the current flags; failures are silent

}  // namespace app
