#include "app/command_log.h"

#include <cstdio>

namespace app {

std::wstring LogTimePrefix(const zel::LocalTime& time) {
  wchar_t text[16];
  std::swprintf(text, 16, L"[%02u:%02u:%02u] ", time.hour, time.minute, time.second);
  return text;
}

void AddLogEntry(ui::TextRows& log, const std::wstring& entry) {
  log.scroll.scrollPos = log.scroll.MaxScroll();  // Rewrap follows a view that is at the end
  log.AppendText(entry);
  if (log.lines.size() > kMaxLogLines) {
    log.lines.erase(log.lines.begin(), log.lines.end() - static_cast<long>(kMaxLogLines));
  }
}

}  // namespace app
