#include "ui/scroll.h"

#include <algorithm>

#include "ui/palette.h"

namespace ui {

bool ListScroll::ScrollTo(int position) {
  const int clamped = std::clamp(position, 0, MaxScroll());
  if (clamped == scrollPos) return false;
  scrollPos = clamped;
  return true;
}

Rect ThumbRect(const ListScroll& scroll, Rect track) {
  const int trackHeight = track.Height();
  int height = scroll.contentHeight < 1 ? trackHeight
                                        : std::max(ScaleDpi(28), MulDivRound(trackHeight, scroll.viewHeight, scroll.contentHeight));
  height = std::min(height, trackHeight);
  const int offset = scroll.contentHeight > scroll.viewHeight
                         ? MulDivRound(trackHeight - height, scroll.scrollPos, scroll.contentHeight - scroll.viewHeight)
                         : 0;
  return Rect{track.left, track.top + offset, track.right, track.top + offset + height};
}

bool PressThumb(ListScroll& scroll, Point point, Rect track) {
  if (scroll.contentHeight <= scroll.viewHeight) return false;
  const int slack = ScaleDpi(5);
  if (point.x < track.left - slack || point.x >= track.right + slack || point.y < track.top || point.y >= track.bottom) {
    return false;
  }
  const Rect thumb = ThumbRect(scroll, track);
  scroll.dragOffset = (point.y >= thumb.top && point.y < thumb.bottom) ? point.y - thumb.top : thumb.Height() / 2;
  scroll.dragging = true;
  DragThumb(scroll, point, track);
  return true;
}

bool DragThumb(ListScroll& scroll, Point point, Rect track) {
  if (!scroll.dragging) return false;
  const int range = track.Height() - ThumbRect(scroll, track).Height();
  const int position =
      range >= 1 ? MulDivRound(point.y - scroll.dragOffset - track.top, scroll.contentHeight - scroll.viewHeight, range) : 0;
  return scroll.ScrollTo(position);
}

}  // namespace ui
