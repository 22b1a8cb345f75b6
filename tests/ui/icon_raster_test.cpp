#include "ui/icon_raster.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace ui {
namespace {

constexpr const char* kPlus = "M19,13H13V19H11V13H5V11H11V5H13V11H19V13Z";

double CoveredArea(const Mask& mask) {
  double sum = 0;
  for (uint8_t c : mask.coverage) sum += c / 255.0;
  return sum;
}

TEST(RasteriseIcon, PlusOnWholeCoordinatesIsFullOrEmptyWithNoPartialPixels) {
  const Mask mask = RasteriseIcon(ParsePath(kPlus), 24);
  ASSERT_EQ(mask.side, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const bool bar = x >= 11 && x < 13 && y >= 5 && y < 19;
      const bool beam = y >= 11 && y < 13 && x >= 5 && x < 19;
      ASSERT_EQ(mask.At(x, y), bar || beam ? 255 : 0) << x << "," << y;
    }
  }
  // Twice the size: every grid unit is a 2 x 2 block, the covered area four times as large.
  EXPECT_NEAR(CoveredArea(RasteriseIcon(ParsePath(kPlus), 48)), 4 * (2 * 14 + 2 * 12), 1e-3);
}

TEST(RasteriseIcon, OppositeInnerContourLeavesAHoleSameDirectionFillsIt) {
  const char* outer = "M12,2A10,10 0 0,1 12,22A10,10 0 0,1 12,2Z";
  const std::string ring = std::string(outer) + "M12,6A6,6 0 0,0 12,18A6,6 0 0,0 12,6Z";
  const std::string disc = std::string(outer) + "M12,6A6,6 0 0,1 12,18A6,6 0 0,1 12,6Z";
  const Mask withHole = RasteriseIcon(ParsePath(ring), 24);
  const Mask filled = RasteriseIcon(ParsePath(disc), 24);
  // The centre, a point well inside the band between radii 6 and 10, and a corner outside both.
  EXPECT_EQ((std::array{withHole.At(11, 11), withHole.At(11, 3), withHole.At(0, 0)}),
            (std::array<uint8_t, 3>{0, 255, 0}));
  EXPECT_EQ(filled.At(11, 11), 255);
  // Within 1% of the true areas (the arcs are flattened into chords).
  const double pi = 3.14159265358979;
  EXPECT_NEAR(CoveredArea(withHole), pi * (100 - 36), 2.0);
  EXPECT_NEAR(CoveredArea(filled), pi * 100, 3.2);
}

TEST(RasteriseIcon, OverlapsAreCoveredOnceAndOppositeCopiesCancel) {
  // Two identical squares ending half-way through a column: a pixel half
  // covered by both is still half covered, not full.
  const Mask twice = RasteriseIcon(ParsePath("M2,2H10.5V10.5H2Z M2,2H10.5V10.5H2Z"), 24);
  EXPECT_EQ(twice.At(10, 5), 128);
  EXPECT_EQ(twice.At(5, 5), 255);
  const Mask cancelled = RasteriseIcon(ParsePath("M2,2H10V10H2Z M2,2V10H10V2Z"), 24);
  EXPECT_EQ(CoveredArea(cancelled), 0.0);
}

TEST(RasteriseIcon, CoverageIsExactAcrossAPixelAndSamplesFiveSubScanlines) {
  // A left edge at x = 3.25 leaves three quarters of column 3.
  EXPECT_EQ(RasteriseIcon(ParsePath("M3.25,0H8V24H3.25Z"), 24).At(3, 7), 191);
  // A top edge at y = 4.5 crosses the sub-scanlines at 4.1, 4.3 (out) and 4.5,
  // 4.7, 4.9 (in; edges are closed at the top): three fifths of row 4.
  EXPECT_EQ(RasteriseIcon(ParsePath("M0,4.5H24V24H0Z"), 24).At(7, 4), 153);
  // A diamond keeps its area and its mirror symmetry.
  const Mask diamond = RasteriseIcon(ParsePath("M12,2L22,12L12,22L2,12Z"), 24);
  EXPECT_NEAR(CoveredArea(diamond), 200, 2);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) ASSERT_NEAR(diamond.At(x, y), diamond.At(23 - x, y), 1) << x << "," << y;
  }
}

TEST(RasteriseIcon, EmptyInputsAndShapesBeyondTheBox) {
  const Mask blank = RasteriseIcon({}, 5);
  EXPECT_EQ(blank.side, 5);
  EXPECT_EQ(blank.coverage, std::vector<uint8_t>(25, 0));
  EXPECT_EQ(RasteriseIcon(ParsePath(kPlus), 0).side, 0);

  const Mask beyond = RasteriseIcon(ParsePath("M-10,-10H40V40H-10Z"), 8);
  EXPECT_EQ(beyond.coverage, std::vector<uint8_t>(64, 255));

  // Infinite and NaN coordinates must not reach the integer conversions.
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  PolygonList wild = {{{0, 0}, {inf, 4}, {4, 8}}, {{nan, 1}, {5, 5}, {1, nan}}, {{-inf, 2}, {3, 3}, {2, 9}}};
  const Mask survived = RasteriseIcon(wild, 16);
  EXPECT_EQ(survived.side, 16);
  EXPECT_EQ(RasteriseIcon(ParsePath("M0,0H1e39V4Z"), 8).side, 8);
  EXPECT_EQ(ParsePath("M0,0A5,5 0 0,1 1e39,0L0,5Z").at(0).size(), 3u);  // an unfollowable arc is a line
}

}  // namespace
}  // namespace ui
