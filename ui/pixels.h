#pragma once
// The pixel operations of the drawing surface, over a plain block of 32-bit pixels.
// The Win32 canvas runs them on its DIB section's bits (after GdiFlush); tests and
// the icon generator run them on ordinary vectors.
//
// Two colour layouts meet here:
//  - pixels are 0x00RRGGBB, as a 32-bit top-down DIB stores them (alpha byte 0);
//  - every Colour argument is a COLORREF 0x00BBGGRR, as the Palette holds it.
// The functions convert their Colour arguments with ColourToPixel themselves.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/geometry.h"
#include "ui/palette.h"

namespace ui {

using Pixel = uint32_t;

// Swaps the red and blue bytes: COLORREF <-> 0x00RRGGBB. kNoColour maps to itself.
constexpr Pixel ColourToPixel(Colour c) {
  if (c == kNoColour) return kNoColour;
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour PixelToColour(Pixel p) { return ColourToPixel(p); }

// Non-owning view of width x height pixels, rows top-down, no padding between rows.
struct PixelView {
  Pixel* bits = nullptr;
  int width = 0;
  int height = 0;

  bool HasPixels() const { return bits != nullptr && width > 0 && height > 0; }
  Pixel& At(int x, int y) const { return bits[static_cast<std::size_t>(y) * width + x]; }
};

// Square premultiplied image: side x side pixels 0xAARRGGBB, rows top-down.
struct Image {
  int side = 0;
  std::vector<uint32_t> argb;

  bool IsEmpty() const { return side <= 0; }
};

// Square 8-bit coverage mask (0 = empty, 255 = full), rows top-down.
struct Mask {
  int side = 0;
  std::vector<uint8_t> coverage;

  uint8_t At(int x, int y) const { return coverage[static_cast<std::size_t>(y) * side + x]; }
};

// Writes the colour into every pixel of rect that lies inside the view.
void FillRect(PixelView view, Rect rect, Colour colour);

// Anti-aliased rounded rectangle. fill or border may be kNoColour; the border is
// borderWidth pixels wide inside rect; alphas are 0..255. A radius above half the
// smaller side is cut to it (a pill or a circle).
void FillRoundRect(PixelView view, Rect rect, int radius, Colour fill, Colour border, int borderWidth,
                   int fillAlpha, int borderAlpha);

// Composites a premultiplied image with its top-left corner at (x, y).
void DrawImage(PixelView view, const Image& image, int x, int y);

// Blends colour into the view through the mask placed at (x, y): each covered
// pixel becomes Blend(pixel, colour, coverage).
void DrawMask(PixelView view, const Mask& mask, int x, int y, Colour colour);

// Box-downscales a width x height block of 32-bit pixels (0xAARRGGBB, rows
// top-down, as GetDIBits returns them) to a premultiplied n x n Image. A source
// whose alpha bytes are all zero counts as opaque. Empty input or n < 1 gives an
// empty Image.
Image DownscaleToImage(const uint32_t* source, int width, int height, int n);

}  // namespace ui
