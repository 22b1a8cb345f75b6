#include "ui/text_rows.h"

#include <algorithm>

namespace ui {

void TextRows::AppendText(const std::wstring& text) {
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L'\n', start);
    std::wstring piece = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!piece.empty() && piece.back() == L'\r') piece.pop_back();
    lines.push_back(std::move(piece));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
}

std::wstring TextRows::AllText() const {
  std::wstring all;
  for (const auto& line : lines) {
    all += line;
    all += L"\r\n";
  }
  return all;
}

void TextRows::Rewrap(int columns, int visibleRows) {
  columns = std::max(columns, 20);
  const int oldLimit = scroll.MaxScroll();
  const bool following = scroll.scrollPos >= oldLimit;

  rows.clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto length = static_cast<int64_t>(lines[i].size());
    if (length == 0) {
      rows.push_back(TextRow{static_cast<int64_t>(i), 0, 0});
      continue;
    }
    for (int64_t start = 0; start < length; start += columns) {
      rows.push_back(TextRow{static_cast<int64_t>(i), start, std::min<int64_t>(columns, length - start)});
    }
  }
  scroll.contentHeight = static_cast<int>(rows.size());
  scroll.viewHeight = std::max(1, visibleRows);
  scroll.scrollPos = following ? scroll.MaxScroll() : std::clamp(scroll.scrollPos, 0, scroll.MaxScroll());
}

}  // namespace ui
