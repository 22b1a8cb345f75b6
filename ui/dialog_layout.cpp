#include "ui/dialog_layout.h"

#include <algorithm>

#include "ui/palette.h"

namespace ui {

std::vector<int> ButtonRowLefts(const std::vector<int>& widths, int right, int gap) {
  std::vector<int> lefts(widths.size());
  int edge = right;
  for (size_t i = 0; i < widths.size(); ++i) {
    lefts[i] = edge - widths[i];
    edge = lefts[i] - gap;
  }
  return lefts;
}

FormLayout LayOutForm(int width, int descriptionHeight, bool hasDescription, const std::vector<FieldType>& fields) {
  FormLayout layout;
  const int m = ScaleDpi(22);
  int y = m;
  if (hasDescription) {
    layout.description = Rect{m, m, width - m, m + descriptionHeight};
    y = layout.description.bottom + ScaleDpi(14);
  }
  for (const FieldType type : fields) {
    if (type == FieldType::CheckBox) {
      layout.labels.push_back(Rect{});
      layout.inputs.push_back(Rect{m, y, width - m, y + ScaleDpi(28)});
      y += ScaleDpi(28) + ScaleDpi(4);
      continue;
    }
    layout.labels.push_back(Rect{m, y, width - m, y + ScaleDpi(18)});
    const int top = y + ScaleDpi(18) + ScaleDpi(5);
    layout.inputs.push_back(Rect{m, top, width - m, top + ScaleDpi(34)});
    y = top + ScaleDpi(34) + ScaleDpi(12);
  }
  layout.clientHeight = y + ScaleDpi(8) + ScaleDpi(64);
  return layout;
}

std::vector<Rect> SegmentRects(const Rect& row, int count, int gap) {
  std::vector<Rect> segments;
  if (count <= 0) return segments;
  const int room = row.Width() - gap * (count - 1);
  int left = row.left;
  for (int i = 0; i < count; ++i) {
    // Whole pixels, the remainder spread over the first ones.
    const int width = room / count + (i < room % count ? 1 : 0);
    segments.push_back(Rect{left, row.top, left + width, row.bottom});
    left += width + gap;
  }
  return segments;
}

int MessageTextHeight(int measured) { return std::min(std::max(ScaleDpi(36), measured), ScaleDpi(380)); }

}  // namespace ui
