#include "ui/icon_raster.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

constexpr int kSubScanlines = 5;

struct Crossing {
  float x;
  int direction;  // +1 where the edge runs downwards, -1 upwards
};

// Crossings of every edge with the horizontal line y (pixel units). Edges are
// half-open in y, so a vertex shared by two edges is counted once and flat
// edges never count.
void CollectCrossings(const PolygonList& polygons, float scale, float y, std::vector<Crossing>& out) {
  out.clear();
  for (const Polygon& polygon : polygons) {
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
      const PointF& p = polygon[i];
      const PointF& q = polygon[(i + 1) % n];
      const float x0 = p.x * scale, y0 = p.y * scale;
      const float x1 = q.x * scale, y1 = q.y * scale;
      if (!((y0 <= y && y < y1) || (y1 <= y && y < y0))) continue;
      const float x = x0 + (x1 - x0) * (y - y0) / (y1 - y0);
      // A path with absurd numbers may give NaN or infinite crossings; they cover nothing.
      if (!std::isfinite(x)) continue;
      out.push_back({x, y1 > y0 ? 1 : -1});
    }
  }
  std::sort(out.begin(), out.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
}

// Adds the span [a, b) of one sub-scanline to a row of cells, exactly per column.
void CoverSpan(float* row, int side, float a, float b) {
  a = std::min(std::max(0.0f, a), static_cast<float>(side));
  b = std::min(static_cast<float>(side), b);
  for (int col = static_cast<int>(std::floor(a)); col < side && col < b; ++col) {
    const float left = std::max(static_cast<float>(col), a);
    const float right = std::min(static_cast<float>(col + 1), b);
    row[col] += (right - left) / kSubScanlines;
  }
}

}  // namespace

Mask RasteriseIcon(const PolygonList& polygons, int side) {
  Mask mask;
  if (side < 1) return mask;
  const float scale = static_cast<float>(side) / kIconGrid;
  std::vector<float> coverage(static_cast<size_t>(side) * side, 0.0f);
  std::vector<Crossing> crossings;

  for (int s = 0; s < side * kSubScanlines; ++s) {
    const float y = (s + 0.5f) / kSubScanlines;
    CollectCrossings(polygons, scale, y, crossings);
    float* row = &coverage[static_cast<size_t>(s / kSubScanlines) * side];
    int winding = 0;
    for (size_t k = 1; k < crossings.size(); ++k) {
      winding += crossings[k - 1].direction;
      if (winding != 0) CoverSpan(row, side, crossings[k - 1].x, crossings[k].x);
    }
  }

  mask.side = side;
  mask.coverage.resize(coverage.size());
  std::transform(coverage.begin(), coverage.end(), mask.coverage.begin(),
                 [](float c) { return static_cast<uint8_t>(std::min(255.0f, c * 255.0f + 0.5f)); });
  return mask;
}

}  // namespace ui
