// The canvas through a real DIB section under Wine: pixel work and GDI text
// land in the same bits, in the expected channel order.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/canvas_win.h"
#include "ui/theme_win.h"

namespace ui {
namespace {

TEST(CanvasOnWine, PixelsTextAndIconsShareTheBits) {
  Canvas canvas(64, 40);
  const PixelView px = canvas.Pixels();
  ASSERT_TRUE(px.HasPixels());
  canvas.FillRect(Rect{0, 0, 64, 40}, Rgb(0x10, 0x20, 0x30));
  EXPECT_EQ(px.At(5, 5), 0x102030u);  // COLORREF in, 0x00RRGGBB in the DIB

  // GDI text drawn first must be in the bits before the next pixel operation.
  canvas.DrawText(L"W", Rect{0, 0, 30, 40}, Bold17, White, kSingleLine);
  int lit = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 30; ++x) lit += px.At(x, y) != 0x102030u;
  }
  EXPECT_GT(lit, 10);

  // The plus icon at 24 px: whole-coordinate edges, so no partial pixels.
  canvas.FillRect(Rect{0, 0, 64, 40}, Rgb(0, 0, 0));
  canvas.DrawIcon(4, 30, 8, 24, Rgb(0xFF, 0x00, 0x00));
  EXPECT_EQ(px.At(30 + 12, 8 + 12), 0xFF0000u);  // centre
  EXPECT_EQ(px.At(30 + 2, 8 + 2), 0u);            // corner, outside the plus
  for (int y = 8; y < 32; ++y) {
    for (int x = 30; x < 54; ++x) EXPECT_TRUE(px.At(x, y) == 0u || px.At(x, y) == 0xFF0000u);
  }

  // The badge: fill and border in one colour, the edge stronger than the body.
  canvas.FillRect(Rect{0, 0, 64, 40}, Rgb(0, 0, 0));
  canvas.FillRoundRect(Rect{2, 2, 46, 24}, 6, Accent, Accent, 1, 36, 85);
  const Pixel body = px.At(20, 12), edge = px.At(20, 2);
  EXPECT_GT((edge & 0xFF), (body & 0xFF));
  EXPECT_GT((body & 0xFF), 0u);
}

TEST(CanvasOnWine, FontsAndMeasuring) {
  EXPECT_EQ(MeasureTextWidth(L"", Regular12).width, 0);
  const TextExtent one = MeasureTextWidth(L"M", Regular12);
  EXPECT_GT(one.width, 2);
  EXPECT_GT(MeasureTextWidth(L"MM", Regular12).width, one.width);
  for (int slot = 0; slot < kFontSlotCount; ++slot) EXPECT_NE(Font(static_cast<FontSlot>(slot)), nullptr);
  EXPECT_GT(FontHeight(Bold17), FontHeight(Regular11));
  const std::wstring text = L"A sentence long enough that it has to wrap onto several lines in a narrow box.";
  EXPECT_GT(MeasureTextHeight(text, Regular13, 80), MeasureTextHeight(text, Regular13, 2000));

  // At 144 DPI a 12 px font is 18 px tall.
  SetDpi(144);
  RecreateFonts();
  LOGFONTW font{};
  GetObjectW(Font(Regular12), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -18);
  SetDpi(96);
  RecreateFonts();
}

}  // namespace
}  // namespace ui
