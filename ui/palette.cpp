#include "ui/palette.h"

#include <cstdint>

namespace ui {
namespace {

int g_dpi = 96;

unsigned MixChannel(unsigned c0, unsigned c1, unsigned a) { return (c0 * (255 - a) + c1 * a + 127) / 255; }

}  // namespace

bool g_darkTheme = true;

const Palette& CurrentPalette() { return g_darkTheme ? kDarkPalette : kLightPalette; }

Colour Blend(Colour c0, Colour c1, int a) {
  if (a >= 255) return c1;
  if (a <= 0) return c0;
  const auto w = static_cast<unsigned>(a);
  Colour out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    out |= MixChannel((c0 >> shift) & 0xFFu, (c1 >> shift) & 0xFFu, w) << shift;
  }
  return out;
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  // Integer division truncates toward zero, so adding half the divisor away from
  // zero first rounds halves away from zero.
  const int64_t half = divisor / 2;
  const int64_t q = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (q > INT32_MAX || q < -INT32_MAX) return -1;
  return static_cast<int>(q);
}

int CurrentDpi() { return g_dpi; }

void SetDpi(int dpi) { g_dpi = dpi < 96 ? 96 : dpi; }

int ScaleDpi(int v) { return MulDivRound(v, g_dpi, 96); }

}  // namespace ui
