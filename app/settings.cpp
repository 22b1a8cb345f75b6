#include "app/settings.h"

namespace app {
namespace {

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && LowerAscii(text.substr(0, prefix.size())) == prefix;
}

}  // namespace

Preferences ParsePreferences(std::string_view fileBytes) {
  const std::string lower = LowerAscii(fileBytes);
  Preferences preferences;
  if (lower.find("style=light") != std::string::npos) preferences.darkTheme = false;
  if (lower.find("language=en") != std::string::npos) preferences.vietnamese = false;
  return preferences;
}

std::string RewriteSettings(std::string_view fileBytes, const Preferences& preferences) {
  // Lines that are not ours go through untouched, ends and all: the user's notes,
  // blank lines, other programs' keys, bytes in any encoding.
  std::string out;
  size_t start = 0;
  while (start < fileBytes.size()) {
    size_t end = fileBytes.find('\n', start);
    end = end == std::string_view::npos ? fileBytes.size() : end + 1;
    const std::string_view line = fileBytes.substr(start, end - start);
    if (!StartsWithNoCase(line, "style=") && !StartsWithNoCase(line, "language=")) out.append(line);
    start = end;
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  out += preferences.vietnamese ? "Language=vi\r\n" : "Language=en\r\n";
  out += preferences.darkTheme ? "Style=dark\r\n" : "Style=light\r\n";
  return out;
}

}  // namespace app
