#pragma once
// Where things go in the dialogs, from sizes already measured. Lengths are
// device pixels (callers scale the 96-DPI values before passing them in).
#include <vector>

#include "ui/geometry.h"

namespace ui {

// A right-aligned row of buttons whose right edge is at `right`, `gap` apart,
// laid out in reverse: the first button is the rightmost. Returns each button's left.
std::vector<int> ButtonRowLefts(const std::vector<int>& widths, int right, int gap);

enum class FieldType { Text = 0, CheckBox = 1, ReadOnly = 2, Choice = 3 };  // Choice: a row of segments

struct FormLayout {
  Rect description;             // empty when there is none
  std::vector<Rect> labels;     // empty for check boxes
  std::vector<Rect> inputs;
  int clientHeight = 0;
};

// The form's layout for a client `width`, a description of `descriptionHeight`
// (0 when there is none), and the field types in order. Uses ScaleDpi.
FormLayout LayOutForm(int width, int descriptionHeight, bool hasDescription, const std::vector<FieldType>& fields);

// A choice's row cut into `count` segments `gap` apart, left to right, together
// filling the row exactly.
std::vector<Rect> SegmentRects(const Rect& row, int count, int gap);

// The message dialog's text height: at least the icon box, at most S(380).
int MessageTextHeight(int measured);

}  // namespace ui
