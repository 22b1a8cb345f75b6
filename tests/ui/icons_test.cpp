#include "ui/icons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/icon_path.h"
#include "ui/icon_raster.h"
#include "ui/icon_table.h"

namespace ui {
namespace {

int MaxCoverage(const Mask& mask) { return *std::max_element(mask.coverage.begin(), mask.coverage.end()); }

// Every icon parses whole and stays on its grid, and shows solid pixels at the sizes the program draws.
TEST(IconTable, EveryIconParsesOntoTheGridAndIsSolidAtItsUsualSizes) {
  for (int i = 1; i < kIconCount; ++i) {
    const std::string path(IconPath(i));
    const PolygonList polygons = ParsePath(path);
    // One polygon per M: a parse that stopped early, or a degenerate subpath, shows here.
    EXPECT_EQ(polygons.size(), static_cast<size_t>(std::count(path.begin(), path.end(), 'M'))) << "icon " << i;
    for (const Polygon& polygon : polygons) {
      for (const PointF& p : polygon) {
        ASSERT_TRUE(p.x >= 0 && p.x <= kIconGrid && p.y >= 0 && p.y <= kIconGrid)
            << "icon " << i << " leaves the grid at " << p.x << "," << p.y;
      }
    }
    // Strokes on whole coordinates are solid at 24 px.
    EXPECT_EQ(MaxCoverage(IconMask(i, 24)), 255) << "icon " << i;
    // At 16 px a two-unit stroke is 1.33 px wide and may straddle pixels, but
    // every icon must still have near-solid pixels somewhere (the plus, whose
    // bars straddle, reaches 89% where they cross).
    EXPECT_GE(MaxCoverage(IconMask(i, 16)), 217) << "icon " << i;
    // At 11 px the icon must still show up clearly.
    EXPECT_GE(MaxCoverage(IconMask(i, 11)), 180) << "icon " << i;
  }
}

TEST(IconMask, CachesOneMaskPerIndexAndSide) {
  const Mask& first = IconMask(kIconTrash, 16);
  EXPECT_NE(&IconMask(kIconTrash, 17), &first);
  EXPECT_NE(&IconMask(kIconStar, 16), &first);
  for (int side = 1; side <= 64; ++side) IconMask(kIconChip, side);  // grow the cache: the reference stays good
  EXPECT_EQ(&IconMask(kIconTrash, 16), &first);
  EXPECT_EQ(first.coverage, RasteriseIcon(ParsePath(IconPath(kIconTrash)), 16).coverage);

  EXPECT_EQ(IconMask(kIconCount, 16).side, 0);
}

// What it draws, in which colour: CanvasOnWine.PixelsTextAndIconsShareTheBits.
TEST(DrawIcon, DrawsNothingForNoIconOrNoSize) {
  std::vector<Pixel> bits(24 * 24, 0x101010);
  const PixelView view{bits.data(), 24, 24};
  const std::vector<Pixel> before = bits;
  DrawIcon(view, kIconNone, 0, 0, 24, White);
  DrawIcon(view, kIconCount, 0, 0, 24, White);
  DrawIcon(view, kIconPlus, 0, 0, 0, White);
  EXPECT_EQ(bits, before);
}

}  // namespace
}  // namespace ui
