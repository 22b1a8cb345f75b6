#include "app/app_state_win.h"
#include "app/command_log.h"
#include "app/main_window_win.h"

namespace app {

void AppendLog(const std::wstring& text) {
  ui::TextView* log = State().view.log;
  if (log == nullptr) return;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const zel::LocalTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
  AddLogEntry(log->content, LogTimePrefix(time) + text);
  ui::Rewrap(log);
  InvalidateRect(log->hwnd, nullptr, FALSE);
}

void SetStatus(const std::wstring& text) {
  State().shown.statusText = text;
  InvalidateStatus();
}

}  // namespace app
