#pragma once
// Scan conversion of icon polygons (24 x 24 grid units) into an anti-aliased
// coverage mask of any square size.
#include "ui/icon_path.h"
#include "ui/pixels.h"

namespace ui {

// Grid units of an icon's side.
inline constexpr float kIconGrid = 24.0f;

// Non-zero winding fill; five sub-scanlines per row with exact horizontal
// coverage. side < 1 gives an empty mask.
Mask RasteriseIcon(const PolygonList& polygons, int side);

}  // namespace ui
