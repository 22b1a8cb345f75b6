#include "ui/pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace ui {
namespace {

struct Surface {
  std::vector<Pixel> bits;
  PixelView view;
  Surface(int w, int h, Pixel fill = 0) : bits(static_cast<size_t>(w) * h, fill), view{bits.data(), w, h} {}
  Pixel At(int x, int y) const { return view.At(x, y); }
};

// How far a pixel has moved from the background, on the blue byte.
int Strength(Pixel p, Pixel bg) { return std::abs(static_cast<int>(p & 0xFF) - static_cast<int>(bg & 0xFF)); }

TEST(FillRect, WritesThePixelFormOfTheColourInsideTheViewOnly) {
  Surface s(4, 3, 0x111111);
  FillRect(s.view, {-2, -1, 2, 10}, Rgb(0xAA, 0xBB, 0xCC));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(s.At(x, y), x < 2 ? 0xAABBCCu : 0x111111u) << x << "," << y;
  }
}

TEST(FillRoundRect, RadiusBeyondHalfTheSideMakesASymmetricPillOrCircle) {
  Surface pill(30, 12), reference(30, 12);
  FillRoundRect(pill.view, {0, 0, 30, 12}, 99, White, kNoColour, 0, 255, 255);
  FillRoundRect(reference.view, {0, 0, 30, 12}, 6, White, kNoColour, 0, 255, 255);
  EXPECT_EQ(pill.bits, reference.bits);
  Surface circle(20, 20);
  FillRoundRect(circle.view, {0, 0, 20, 20}, 40, White, kNoColour, 0, 255, 255);
  double area = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      ASSERT_EQ(circle.At(x, y), circle.At(19 - x, y));
      ASSERT_EQ(circle.At(x, y), circle.At(y, x));
      area += (circle.At(x, y) & 0xFF) / 255.0;
    }
  }
  EXPECT_NEAR(area, 3.14159265 * 100, 3.0);
  EXPECT_EQ(circle.At(10, 10), 0xFFFFFFu);
  EXPECT_EQ(circle.At(0, 0), 0u);
}

TEST(FillRoundRect, BadgeHasATranslucentBodyAndAStrongerEdgeOnlyWithABorder) {
  const Pixel bg = ColourToPixel(Rgb(0x17, 0x1D, 0x29));
  const Pixel body = Blend(bg, ColourToPixel(Accent), 36);
  const Pixel edge = Blend(bg, ColourToPixel(Accent), 85);
  Surface s(24, 12, bg), plain(24, 12, bg);
  FillRoundRect(s.view, {2, 1, 22, 11}, 3, Accent, Accent, 1, 36, 85);
  FillRoundRect(plain.view, {2, 1, 22, 11}, 3, Accent, kNoColour, 1, 36, 85);
  // Inside, on each side of the border, outside it, and outside the rounded corner (2, 1).
  const std::tuple<int, int, Pixel> points[] = {{12, 6, body}, {12, 2, body}, {12, 1, edge}, {12, 10, edge},
                                                {2, 6, edge},  {21, 6, edge}, {1, 6, bg},    {2, 1, bg}};
  for (const auto& [x, y, want] : points) EXPECT_EQ(s.At(x, y), want) << x << "," << y;
  for (int y = 1; y < 11; ++y) {
    for (int x = 2; x < 22; ++x) {
      // Anti-aliased corners never come out stronger than the straight parts.
      ASSERT_LE(Strength(s.At(x, y), bg), Strength(edge, bg));
      ASSERT_LE(Strength(plain.At(x, y), bg), Strength(body, bg));
      const bool corner = (y < 4 || y >= 8) && (x < 5 || x >= 19);
      if (!corner) {
        ASSERT_EQ(plain.At(x, y), body) << x << "," << y;  // no edge at all without a border
      }
    }
  }
}

TEST(FillRoundRect, BorderAloneLeavesTheInsideAndClippingKeepsInsidePixels) {
  Surface ring(20, 20, 0x202020);
  FillRoundRect(ring.view, {0, 0, 20, 20}, 6, kNoColour, White, 2, 255, 255);
  EXPECT_EQ((std::array{ring.At(10, 1), ring.At(10, 2), ring.At(10, 10)}),
            (std::array{0xFFFFFFu, 0x202020u, 0x202020u}));

  Surface whole(20, 20), clipped(10, 10);
  FillRoundRect(whole.view, {0, 0, 20, 20}, 7, Accent, White, 2, 200, 255);
  FillRoundRect(clipped.view, {-7, -3, 13, 17}, 7, Accent, White, 2, 200, 255);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(clipped.At(x, y), whole.At(x + 7, y + 3)) << x << "," << y;
  }
}

TEST(DrawImage, CompositesPremultipliedPixelsAndSkipsTransparentOnes) {
  Image image{2, {0xFFFF0000u, 0x80808080u,    // opaque red, half-covered grey
                  0x00FFFFFFu, 0x80FFFFFFu}};  // transparent; over-bright, must clamp
  Surface s(3, 3, 0x202020);
  DrawImage(s.view, image, 1, 1);
  EXPECT_EQ(s.bits, (std::vector<Pixel>{0x202020, 0x202020, 0x202020,  //
                                        0x202020, 0xFF0000, 0x909090,  // 0x80 + (0x20 * 127 + 127) / 255
                                        0x202020, 0x202020, 0xFFFFFF}));
  Surface corner(2, 2, 0);
  DrawImage(corner.view, image, -1, -1);  // only the bottom-right source pixel lands
  EXPECT_EQ(corner.bits, (std::vector<Pixel>{0xFFFFFF, 0, 0, 0}));
}

TEST(DownscaleToImage, AveragesBoxesIntoPremultipliedPixels) {
  // No alpha anywhere: every pixel counts as opaque.
  const uint32_t opaque[] = {0x100000, 0x300000, 0x000010, 0x000010,  //
                             0x100000, 0x300000, 0x000030, 0x000030,  //
                             0x001000, 0x001000, 0xFFFFFF, 0xFFFFFF,  //
                             0x001000, 0x001000, 0xFFFFFF, 0xFFFFFF};
  EXPECT_EQ(DownscaleToImage(opaque, 4, 4, 2).argb, (std::vector<uint32_t>{0xFF200000, 0xFF000020, 0xFF001000, 0xFFFFFFFF}));
  // Transparent pixels weigh nothing: their colour must not leak in.
  const uint32_t mixed[] = {0xFF0000FF, 0x00FFFFFF};
  EXPECT_EQ(DownscaleToImage(mixed, 2, 1, 1).argb, (std::vector<uint32_t>{0x7F00007F}));
  // A source smaller than the result still gives every pixel a one-pixel box.
  const uint32_t one[] = {0xFF123456};
  EXPECT_EQ(DownscaleToImage(one, 1, 1, 3).argb, std::vector<uint32_t>(9, 0xFF123456));
  EXPECT_TRUE(DownscaleToImage(nullptr, 4, 4, 2).IsEmpty());
  EXPECT_TRUE(DownscaleToImage(opaque, 4, 4, 0).IsEmpty());
}

TEST(DrawMask, BlendsTheColourByCoverageInsideTheViewOnly) {
  const Mask mask{3, {0, 128, 255, 10, 20, 30, 255, 255, 255}};
  Surface s(3, 3, 0x000000);
  DrawMask(s.view, mask, -1, 1, Rgb(0xFF, 0, 0));  // COLORREF red
  EXPECT_EQ(s.bits, (std::vector<Pixel>{0, 0, 0,                                     //
                                        Blend(0, 0xFF0000, 128), 0xFF0000, 0,        //
                                        Blend(0, 0xFF0000, 20), Blend(0, 0xFF0000, 30), 0}));
  std::vector<Pixel> one(1, 0);
  DrawMask(PixelView{one.data(), 1, 1}, mask, -1, -1, Rgb(0xFF, 0, 0));  // cut on every side
  EXPECT_EQ(one[0], Blend(0, 0xFF0000, 20));
}

}  // namespace
}  // namespace ui
