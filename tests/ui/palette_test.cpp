#include "ui/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ui {
namespace {

// Each channel rounds to the nearest on its own: neighbouring channels hold other values, so a
// carry or a swapped channel shows.
TEST(Blend, RoundsEachChannelToNearestAndReturnsAnInputAtTheEnds) {
  EXPECT_EQ(Blend(Rgb(0x11, 0xFF, 0xEE), Rgb(0xEE, 0x00, 0x11), 128), Rgb(0x80, 0x7F, 0x7F));
  EXPECT_EQ(Blend(Rgb(0x11, 0xFF, 0xEE), Rgb(0xEE, 0x00, 0x11), 1), Rgb(0x12, 0xFE, 0xED));
  EXPECT_EQ(Blend(0x000000, 0xFFFFFF, 254), 0xFEFEFEu);
  EXPECT_EQ(Blend(0x000000, 0x000001, 128), 0x000001u);  // 0.502 rounds up
  EXPECT_EQ(Blend(0x000000, 0x000001, 127), 0x000000u);  // 0.498 rounds down
  EXPECT_EQ(Blend(0x123456, 0xABCDEF, 0), 0x123456u);
  EXPECT_EQ(Blend(0x123456, 0xABCDEF, -40), 0x123456u);
  EXPECT_EQ(Blend(0x123456, 0xABCDEF, 255), 0xABCDEFu);
  EXPECT_EQ(Blend(0x123456, 0xABCDEF, 1000), 0xABCDEFu);
}

TEST(Dpi, RoundsHalvesAwayFromZeroFailsAsMinusOneAndNeverGoesBelow96) {
  // Then: the 64-bit product is needed; division by zero and overflow fail.
  const std::array<int, 4> cases[] = {{1, 1, 2, 1},   {-1, 1, 2, -1},     {5, 1, -2, -3},
                                      {-5, 1, -2, 3}, {-2, 1, 3, -1},     {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                      {7, 3, 0, -1},  {INT_MIN, 2, 1, -1}};
  for (const auto& [v, s, d, want] : cases) EXPECT_EQ(MulDivRound(v, s, d), want) << v << "*" << s << "/" << d;
#ifdef _WIN32
  for (int v : {-1000, -49, -48, -47, -1, 0, 1, 47, 48, 49, 97, 123457}) {
    for (int s : {-144, -1, 1, 72, 96, 120, 144, 168, 288}) {
      for (int d : {-96, -3, -2, 2, 3, 96}) ASSERT_EQ(MulDivRound(v, s, d), ::MulDiv(v, s, d)) << v << "*" << s << "/" << d;
    }
  }
#endif

  // The layout tests at 144 DPI check the scaling itself; here, the floor and the halves.
  SetDpi(72);
  EXPECT_EQ(CurrentDpi(), 96);
  SetDpi(120);
  EXPECT_EQ(ScaleDpi(2), 3);    // 2.5 rounds up
  EXPECT_EQ(ScaleDpi(-2), -3);  // and -2.5 down
  SetDpi(96);
}

}  // namespace
}  // namespace ui
