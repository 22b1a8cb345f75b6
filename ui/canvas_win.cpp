#include "ui/canvas_win.h"

#include <algorithm>
#include <vector>

#include "ui/icons.h"

namespace ui {
namespace {

// Fresh DIB memory is paid for page by page on first touch: several
// milliseconds for a window-sized surface, every paint. Large surfaces are
// therefore kept and reused for the next paint of the same size. Every painter
// fills its whole canvas, so old content never shows. UI thread only.
constexpr int kPooledPixels = 256 * 1024;
constexpr size_t kPoolSize = 2;

struct Surface {
  HBITMAP bitmap = nullptr;
  Pixel* bits = nullptr;
  int width = 0;
  int height = 0;
};

class SurfacePool {
 public:
  ~SurfacePool() {
    for (auto& surface : free_) DeleteObject(surface.bitmap);
  }
  bool Take(int width, int height, Surface& out) {
    for (size_t i = 0; i < free_.size(); ++i) {
      if (free_[i].width == width && free_[i].height == height) {
        out = free_[i];
        free_.erase(free_.begin() + static_cast<long>(i));
        return true;
      }
    }
    return false;
  }
  // Keeps the most recent surfaces; older ones are deleted.
  void Give(const Surface& surface) {
    free_.insert(free_.begin(), surface);
    while (free_.size() > kPoolSize) {
      DeleteObject(free_.back().bitmap);
      free_.pop_back();
    }
  }

 private:
  std::vector<Surface> free_;
};

SurfacePool& Pool() {
  static SurfacePool pool;
  return pool;
}

}  // namespace

Canvas::Canvas(int width, int height) : width_(std::max(1, width)), height_(std::max(1, height)) {
  dc_ = CreateCompatibleDC(nullptr);
  pooled_ = width_ * height_ >= kPooledPixels;
  Surface reused;
  if (dc_ && pooled_ && Pool().Take(width_, height_, reused)) {
    bitmap_ = reused.bitmap;
    bits_ = reused.bits;
    previousBitmap_ = SelectObject(dc_, bitmap_);
    SetBkMode(dc_, TRANSPARENT);
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (bitmap_) {
    bits_ = static_cast<Pixel*>(bits);
    previousBitmap_ = SelectObject(dc_, bitmap_);
  }
  if (dc_) SetBkMode(dc_, TRANSPARENT);
}

Canvas::~Canvas() {
  if (dc_ && previousBitmap_) SelectObject(dc_, previousBitmap_);
  if (bitmap_ && pooled_) {
    Pool().Give(Surface{bitmap_, bits_, width_, height_});
  } else if (bitmap_) {
    DeleteObject(bitmap_);
  }
  if (dc_) DeleteDC(dc_);
}

PixelView Canvas::Pixels() const {
  if (!bits_) return {};
  GdiFlush();  // text drawn through GDI must be in the bits before they are touched
  return PixelView{bits_, width_, height_};
}

void Canvas::FillRect(Rect rect, Colour colour) { ui::FillRect(Pixels(), rect, colour); }

void Canvas::FillRoundRect(Rect rect, int radius, Colour fill, Colour border, int borderWidth, int fillAlpha,
                           int borderAlpha) {
  ui::FillRoundRect(Pixels(), rect, radius, fill, border, borderWidth, fillAlpha, borderAlpha);
}

void Canvas::DrawImage(const Image& image, int x, int y) { ui::DrawImage(Pixels(), image, x, y); }

void Canvas::DrawIcon(int index, int x, int y, int size, Colour colour) {
  ui::DrawIcon(Pixels(), index, x, y, size, colour);
}

void Canvas::DrawText(const std::wstring& text, Rect rect, FontSlot font, Colour colour, UINT flags) {
  if (text.empty() || rect.Width() <= 0 || !dc_) return;
  HGDIOBJ previous = SelectObject(dc_, Font(font));
  SetTextColor(dc_, colour);
  RECT r = ToRECT(rect);
  ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, flags);
  SelectObject(dc_, previous);
}

void Canvas::Present(HDC target, int x, int y) const {
  if (dc_) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

Image IconToImage(HICON icon, int n) {
  ICONINFO info{};
  if (n < 1 || icon == nullptr || !GetIconInfo(icon, &info)) return {};
  Image image;
  BITMAP bitmap{};
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap) && bitmap.bmWidth > 0 && bitmap.bmHeight > 0) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(request.bmiHeader);
    request.bmiHeader.biWidth = bitmap.bmWidth;
    request.bmiHeader.biHeight = -bitmap.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows == bitmap.bmHeight) image = DownscaleToImage(pixels.data(), bitmap.bmWidth, bitmap.bmHeight, n);
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return image;
}

}  // namespace ui
