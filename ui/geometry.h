#pragma once
// Portable rectangle with the same meaning as a Win32 RECT: right and bottom are
// exclusive, so the size is right - left by bottom - top.

namespace ui {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The part of r that lies inside [0, width) x [0, height); may be empty.
constexpr Rect ClipTo(Rect r, int width, int height) {
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > width) r.right = width;
  if (r.bottom > height) r.bottom = height;
  return r;
}

}  // namespace ui
