#pragma once
// The command log (time-stamped lines, at most 500) and the status line.
#include <string>

#include "core/platform.h"
#include "ui/text_rows.h"

namespace app {

constexpr size_t kMaxLogLines = 500;

// "[09:05:03] "
std::wstring LogTimePrefix(const zel::LocalTime& time);
// Appends one entry (it may span several lines) and keeps the newest 500 lines. The view
// is put at the end, even when it was scrolled up, so the next Rewrap shows the newest line.
void AddLogEntry(ui::TextRows& log, const std::wstring& entry);

// UI thread: add a line to the log pane; replace the status text.
void AppendLog(const std::wstring& text);
void SetStatus(const std::wstring& text);

}  // namespace app
