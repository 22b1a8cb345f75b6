#pragma once
// The off-screen drawing surface of one paint: a memory DC with a 32-bit
// top-down DIB section. Pixel work goes straight into the bits; text through GDI.
// Every custom window paints its whole client here and presents it with one BitBlt.
#include <windows.h>

#include <string>

#include "ui/pixels.h"
#include "ui/theme_win.h"

namespace ui {

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC Dc() const { return dc_; }
  // The bits, with pending GDI text flushed into them first. Empty when the DIB failed.
  PixelView Pixels() const;

  void FillRect(Rect rect, Colour colour);
  void FillRoundRect(Rect rect, int radius, Colour fill, Colour border, int borderWidth, int fillAlpha,
                     int borderAlpha);
  void DrawImage(const Image& image, int x, int y);
  void DrawIcon(int index, int x, int y, int size, Colour colour);
  void DrawText(const std::wstring& text, Rect rect, FontSlot font, Colour colour, UINT flags);
  void Present(HDC target, int x, int y) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  Pixel* bits_ = nullptr;
  int width_ = 1;
  int height_ = 1;
  bool pooled_ = false;  // a large surface goes back to the pool instead of being deleted
};

// The square premultiplied image of an icon handle at n x n (empty on any failure).
Image IconToImage(HICON icon, int n);

inline RECT ToRECT(Rect r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace ui
