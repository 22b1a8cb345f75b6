#pragma once
// Layout test helpers: the DPI for one test, rectangles compared as one value, and the
// overlap and containment checks.
#include <array>

#include "ui/geometry.h"
#include "ui/palette.h"

namespace ui::test {

// Sets the DPI for one test and puts the previous one back, even when an assertion ends it early.
class DpiGuard {
 public:
  explicit DpiGuard(int dpi) : saved_(CurrentDpi()) { SetDpi(dpi); }
  ~DpiGuard() { SetDpi(saved_); }
  DpiGuard(const DpiGuard&) = delete;
  DpiGuard& operator=(const DpiGuard&) = delete;

 private:
  int saved_;
};

using Box = std::array<int, 4>;
inline Box B(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

inline bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top && inner.bottom <= outer.bottom;
}

}  // namespace ui::test
