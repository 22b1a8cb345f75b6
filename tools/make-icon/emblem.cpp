#include "tools/make-icon/emblem.h"

#include <algorithm>

#include "ui/icon_path.h"
#include "ui/icon_raster.h"
#include "ui/palette.h"
#include "ui/pixels.h"

namespace zq_icon {
namespace {

// Power glyph on the 24-unit icon grid: an open ring and a bar through its gap,
// strokes 2.6 units wide with round ends, a little heavier than the UI icons so
// it holds up at 16 px.
constexpr const char* kPowerGlyph =
    "M16.69,7.11A7.3,7.3 0 1,1 7.31,7.11A1.3,1.3 0 0,1 8.98,9.1A4.7,4.7 0 1,0 15.02,9.1"
    "A1.3,1.3 0 0,1 16.69,7.11Z"
    "M13.3,4.9V11.3A1.3,1.3 0 0,1 10.7,11.3V4.9A1.3,1.3 0 0,1 13.3,4.9Z";

// Coverage of the rounded square, read back from a white-on-black fill: with
// full alpha, Blend(0, 255, a) == a, so a channel carries the coverage.
std::vector<ui::Pixel> SquareCoverage(int side) {
  std::vector<ui::Pixel> bits(static_cast<size_t>(side) * side, 0);
  const ui::PixelView view{bits.data(), side, side};
  const int margin = side / 24;
  const int radius = (side * 22 + 50) / 100;
  ui::FillRoundRect(view, {margin, margin, side - margin, side - margin}, radius, ui::White, ui::kNoColour, 0,
                    255, 255);
  return bits;
}

}  // namespace

std::vector<uint32_t> RenderEmblem(int side) {
  if (side < 1) return {};
  const std::vector<ui::Pixel> coverage = SquareCoverage(side);

  std::vector<ui::Pixel> colour(static_cast<size_t>(side) * side, 0);
  const ui::PixelView view{colour.data(), side, side};
  const ui::Colour bottom = ui::Blend(ui::Accent, ui::AccentPressed, 110);
  for (int y = 0; y < side; ++y) {
    const int weight = side > 1 ? y * 255 / (side - 1) : 0;
    ui::FillRect(view, {0, y, side, y + 1}, ui::Blend(ui::Accent, bottom, weight));
  }
  ui::DrawMask(view, ui::RasteriseIcon(ui::ParsePath(kPowerGlyph), side), 0, 0, ui::White);

  std::vector<uint32_t> out(colour.size());
  for (size_t i = 0; i < out.size(); ++i) {
    const uint32_t alpha = coverage[i] & 0xFFu;
    // Fully transparent pixels carry no colour, which keeps the files tidy.
    out[i] = alpha == 0 ? 0 : (alpha << 24) | (colour[i] & 0xFFFFFFu);
  }
  return out;
}

}  // namespace zq_icon
