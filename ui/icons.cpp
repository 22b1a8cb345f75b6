#include "ui/icons.h"

#include <map>
#include <utility>

#include "ui/icon_raster.h"
#include "ui/icon_table.h"

namespace ui {

const Mask& IconMask(int index, int side) {
  static const Mask kEmpty;
  if (index < 0 || index >= kIconCount || side < 1) return kEmpty;
  // Ordered by index, then side; grows for the life of the process. std::map
  // never moves its elements, so the references handed out stay valid.
  static std::map<std::pair<int, int>, Mask> cache;
  const auto key = std::make_pair(index, side);
  auto found = cache.find(key);
  if (found == cache.end()) {
    found = cache.emplace(key, RasteriseIcon(ParsePath(IconPath(index)), side)).first;
  }
  return found->second;
}

void DrawIcon(PixelView view, int index, int x, int y, int size, Colour colour) {
  if (!view.HasPixels() || index <= 0 || index >= kIconCount || size < 1) return;
  DrawMask(view, IconMask(index, size), x, y, colour);
}

}  // namespace ui
