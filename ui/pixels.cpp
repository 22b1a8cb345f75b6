#include "ui/pixels.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Inputs of one rounded-rectangle fill, in local coordinates of the rectangle.
struct RoundRectShape {
  int w = 0;
  int h = 0;
  int r = 0;        // corner radius, at most half the smaller side
  int b = 0;        // border width, 0 without a border
  float ri = 0.0f;  // inner radius of the corner (r - b)
  Pixel fill = kNoColour;
  Pixel border = kNoColour;
  int fillAlpha = 0;
  int borderAlpha = 0;

  bool InInnerArea(int lx, int ly) const { return lx >= b && lx < w - b && ly >= b && ly < h - b; }
  bool IsCorner(int lx, int ly) const {
    return (ly < r || ly >= h - r) && (lx < r || lx >= w - r);
  }
};

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

unsigned Channel(Pixel p, int shift) { return (p >> shift) & 0xFFu; }

// An anti-aliased corner pixel: fill and border each weighted by how much of the
// pixel they cover, then blended in as one colour.
Pixel CornerPixel(const RoundRectShape& s, int lx, int ly, Pixel dst) {
  const float cx = static_cast<float>(lx < s.r ? s.r : s.w - s.r);
  const float cy = static_cast<float>(ly < s.r ? s.r : s.h - s.r);
  const float dx = lx + 0.5f - cx;
  const float dy = ly + 0.5f - cy;
  const float d = std::sqrt(dx * dx + dy * dy);
  const float outer = Clamp01(s.r - d + 0.5f);
  if (outer <= 0.0f) return dst;

  float inner = 1.0f;
  if (s.b > 0) inner = s.ri >= 1.0f ? Clamp01(s.ri - d + 0.5f) : (s.InInnerArea(lx, ly) ? 1.0f : 0.0f);

  const float fillWeight = s.fill == kNoColour ? 0.0f : inner * outer * s.fillAlpha / 255.0f;
  const float borderWeight = s.border == kNoColour ? 0.0f : (1.0f - inner) * outer * s.borderAlpha / 255.0f;
  const float total = fillWeight + borderWeight;
  if (total <= 0.004f) return dst;

  Pixel mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const float f = s.fill == kNoColour ? 0.0f : static_cast<float>(Channel(s.fill, shift));
    const float bc = s.border == kNoColour ? 0.0f : static_cast<float>(Channel(s.border, shift));
    const auto c = static_cast<unsigned>((f * fillWeight + bc * borderWeight) / total + 0.5f);
    mixed |= std::min(c, 255u) << shift;
  }
  return Blend(dst, mixed, static_cast<int>(std::lround(total * 255.0f)));
}

// Blends one colour at one alpha into a run of pixels; an opaque run is a plain fill.
void BlendRun(Pixel* run, int count, Pixel colour, int alpha) {
  if (count <= 0 || colour == kNoColour || alpha <= 0) return;
  if (alpha >= 255) {
    std::fill(run, run + count, colour);
    return;
  }
  for (int i = 0; i < count; ++i) run[i] = Blend(run[i], colour, alpha);
}

// The source rows (or columns) [first, last) that output cell i of n averages:
// never empty, never past the source.
struct Span {
  int first;
  int last;
};
Span SourceSpan(int i, int n, int size) {
  const int first = static_cast<int>(static_cast<int64_t>(i) * size / n);
  const int end = static_cast<int>(static_cast<int64_t>(i + 1) * size / n);
  return {first, std::min(size, std::max(first + 1, end))};
}

}  // namespace

void FillRect(PixelView view, Rect rect, Colour colour) {
  if (!view.HasPixels()) return;
  const Rect c = ClipTo(rect, view.width, view.height);
  if (c.IsEmpty()) return;
  const Pixel p = ColourToPixel(colour);
  for (int y = c.top; y < c.bottom; ++y) std::fill(&view.At(c.left, y), &view.At(c.left, y) + c.Width(), p);
}

void FillRoundRect(PixelView view, Rect rect, int radius, Colour fill, Colour border, int borderWidth,
                   int fillAlpha, int borderAlpha) {
  RoundRectShape s;
  s.w = rect.Width();
  s.h = rect.Height();
  if (!view.HasPixels() || s.w < 1 || s.h < 1) return;
  if (fill == kNoColour && border == kNoColour) return;

  s.r = std::clamp(radius, 0, std::min(s.w, s.h) / 2);
  const bool hasBorder = border != kNoColour && borderWidth >= 1;
  s.b = hasBorder ? borderWidth : 0;
  s.ri = static_cast<float>(s.r - s.b);
  s.fill = ColourToPixel(fill);
  s.border = hasBorder ? ColourToPixel(border) : kNoColour;
  s.fillAlpha = fillAlpha;
  s.borderAlpha = borderAlpha;

  const Rect c = ClipTo(rect, view.width, view.height);
  for (int y = c.top; y < c.bottom; ++y) {
    const int ly = y - rect.top;
    const bool cornerRow = ly < s.r || ly >= s.h - s.r;
    const bool borderRow = ly < s.b || ly >= s.h - s.b;
    // Each row is corner pixels at its ends (anti-aliased one by one) and straight
    // runs between them, which take one colour and alpha each.
    const int runStart = cornerRow ? s.r : 0;
    const int runEnd = cornerRow ? s.w - s.r : s.w;
    for (int x = c.left; x < c.right; ++x) {
      const int lx = x - rect.left;
      if (lx >= runStart && lx < runEnd) {
        // Straight part of the row: border band, inner area, border band.
        const int innerStart = borderRow ? runEnd : std::max(runStart, s.b);
        const int innerEnd = borderRow ? runEnd : std::min(runEnd, s.w - s.b);
        const int stop = std::min(c.right, rect.left + (lx < innerStart ? innerStart : lx < innerEnd ? innerEnd : runEnd));
        const bool inner = lx >= innerStart && lx < innerEnd;
        BlendRun(&view.At(x, y), stop - x, inner ? s.fill : s.border, inner ? s.fillAlpha : s.borderAlpha);
        x = stop - 1;
        continue;
      }
      Pixel& p = view.At(x, y);
      p = CornerPixel(s, lx, ly, p);
    }
  }
}

void DrawImage(PixelView view, const Image& image, int x, int y) {
  if (!view.HasPixels() || image.IsEmpty()) return;
  const int n = image.side;
  for (int row = std::max(0, -y); row < n && y + row < view.height; ++row) {
    for (int col = std::max(0, -x); col < n && x + col < view.width; ++col) {
      const uint32_t src = image.argb[static_cast<size_t>(row) * n + col];
      const unsigned a = src >> 24;
      if (a == 0) continue;
      Pixel& dst = view.At(x + col, y + row);
      Pixel out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned c = Channel(src, shift) + (Channel(dst, shift) * (255 - a) + 127) / 255;
        out |= std::min(c, 255u) << shift;
      }
      dst = out;
    }
  }
}

void DrawMask(PixelView view, const Mask& mask, int x, int y, Colour colour) {
  if (!view.HasPixels() || mask.side <= 0) return;
  const Pixel p = ColourToPixel(colour);
  const int n = mask.side;
  for (int row = std::max(0, -y); row < n && y + row < view.height; ++row) {
    for (int col = std::max(0, -x); col < n && x + col < view.width; ++col) {
      const uint8_t a = mask.At(col, row);
      if (a == 0) continue;
      Pixel& dst = view.At(x + col, y + row);
      dst = Blend(dst, p, a);
    }
  }
}

Image DownscaleToImage(const uint32_t* source, int width, int height, int n) {
  Image out;
  if (source == nullptr || width <= 0 || height <= 0 || n <= 0) return out;
  const size_t count = static_cast<size_t>(width) * height;
  const bool hasAlpha = std::any_of(source, source + count, [](uint32_t p) { return (p >> 24) != 0; });

  out.side = n;
  out.argb.assign(static_cast<size_t>(n) * n, 0);
  for (int oy = 0; oy < n; ++oy) {
    const Span rows = SourceSpan(oy, n, height);
    for (int ox = 0; ox < n; ++ox) {
      const Span cols = SourceSpan(ox, n, width);
      uint64_t alphaSum = 0;
      uint64_t sums[3] = {0, 0, 0};
      for (int sy = rows.first; sy < rows.last; ++sy) {
        for (int sx = cols.first; sx < cols.last; ++sx) {
          const uint32_t p = source[static_cast<size_t>(sy) * width + sx];
          const uint64_t a = hasAlpha ? (p >> 24) : 255;
          alphaSum += a;
          for (int k = 0; k < 3; ++k) sums[k] += ((p >> (8 * k)) & 0xFFu) * a;
        }
      }
      const uint64_t cells = static_cast<uint64_t>(rows.last - rows.first) * (cols.last - cols.first);
      uint32_t px = static_cast<uint32_t>(alphaSum / cells) << 24;
      for (int k = 0; k < 3; ++k) px |= static_cast<uint32_t>(sums[k] / (cells * 255)) << (8 * k);
      out.argb[static_cast<size_t>(oy) * n + ox] = px;
    }
  }
  return out;
}

}  // namespace ui
