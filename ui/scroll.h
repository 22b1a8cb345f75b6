#pragma once
// The thin scroll thumb shared by the entries list and the text view. Units of
// contentHeight, viewHeight and scrollPos are the caller's (pixels or rows);
// the track is in client pixels.
#include "ui/geometry.h"

namespace ui {

struct ListScroll {
  int contentHeight = 0;
  int viewHeight = 0;
  int scrollPos = 0;  // 0 .. MaxScroll()
  bool dragging = false;
  int dragOffset = 0;

  int MaxScroll() const { return contentHeight > viewHeight ? contentHeight - viewHeight : 0; }
  // Sets the position within range; true when it changed.
  bool ScrollTo(int position);
};

struct Point {
  int x = 0;
  int y = 0;
};

Rect ThumbRect(const ListScroll& scroll, Rect track);
// Starts a drag when the point is on the track (widened a little for thin tracks);
// a press beside the thumb makes its centre jump to the point.
bool PressThumb(ListScroll& scroll, Point point, Rect track);
// Follows the pointer while dragging; true when the position changed.
bool DragThumb(ListScroll& scroll, Point point, Rect track);

}  // namespace ui
