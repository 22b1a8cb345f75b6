#pragma once
// The text view's content: lines, hard-wrapped into visual rows of a fixed
// column count, and which rows are in view. Portable; the window paints it.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/scroll.h"

namespace ui {

struct TextRow {
  int64_t line = 0;
  int64_t start = 0;
  int64_t length = 0;
};

struct TextRows {
  std::vector<std::wstring> lines;
  std::vector<TextRow> rows;
  ListScroll scroll;  // in rows

  // Appends the text's lines: split at LF, one trailing CR removed from each piece.
  void AppendText(const std::wstring& text);
  // Every line followed by CR LF.
  std::wstring AllText() const;
  // Rebuilds the rows for `columns` characters (at least 20) and `visibleRows`
  // (at least 1). A view that was at the end keeps following the end; one
  // scrolled up keeps its place, clamped.
  void Rewrap(int columns, int visibleRows);
};

}  // namespace ui
