#pragma once
// Icons by table index: masks cached per (index, side) for the life of the
// process, and drawing a mask in one colour. UI thread only (no locking).
#include "ui/pixels.h"

namespace ui {

// The mask of icon `index` at side x side pixels, made on first use. The same
// (index, side) always returns the same object. An index outside the table or a
// side below 1 gives an empty mask (side 0), which is not cached.
const Mask& IconMask(int index, int side);

// Draws icon `index` with its top-left corner at (x, y), size x size pixels, in
// `colour` (a COLORREF). Index 0 (no icon), indices outside 1..32 and sizes
// below 1 draw nothing. The Win32 canvas calls GdiFlush before this.
void DrawIcon(PixelView view, int index, int x, int y, int size, Colour colour);

}  // namespace ui
