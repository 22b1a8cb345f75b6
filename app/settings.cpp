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
  std::string out;
  size_t start = 0;
  while (start <= fileBytes.size()) {
    size_t end = fileBytes.find('\n', start);
    if (end == std::string_view::npos) end = fileBytes.size();
    std::string_view line = fileBytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && !StartsWithNoCase(line, "style=") && !StartsWithNoCase(line, "language=")) {
      out.append(line);
      out += "\r\n";
    }
    start = end + 1;
  }
  out += preferences.vietnamese ? "Language=vi\r\n" : "Language=en\r\n";
  out += preferences.darkTheme ? "Style=dark\r\n" : "Style=light\r\n";
  return out;
}

}  // namespace app
