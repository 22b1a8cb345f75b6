#pragma once
// Icon paths: a small subset of the SVG path syntax (M L H V C A Z, absolute or
// relative) turned into closed polygons in grid units, curves and arcs flattened.
#include <string_view>
#include <vector>

namespace ui {

struct PointF {
  float x = 0.0f;
  float y = 0.0f;
};

// A closed polygon: the edge from the last point back to the first is implied.
using Polygon = std::vector<PointF>;
using PolygonList = std::vector<Polygon>;

// Parses as much of the path as is well-formed: an unknown command or a bad number
// ends the parse, keeping the polygons completed so far. Polygons of fewer than
// three points are dropped.
PolygonList ParsePath(std::string_view text);

// Appends the flattened elliptical arc from `from` to `to` (SVG endpoint form),
// ending exactly on `to`. Radii too small to reach are scaled up; a zero radius or
// equal end points give a straight line.
void AppendArc(Polygon& out, PointF from, float rx, float ry, float rotationDegrees, bool largeArc, bool sweep,
               PointF to);

}  // namespace ui
