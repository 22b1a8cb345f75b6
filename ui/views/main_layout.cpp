#include "ui/views/main_layout.h"

#include <algorithm>

namespace ui {
namespace {

int S(int v) { return ScaleDpi(v); }

Rect At(int x, int y, int width, int height) { return Rect{x, y, x + width, y + height}; }

// The information card's height: four rows of S(19) inside S(10) margins.
int CardHeight() { return 2 * (S(10) + 2 * S(19)); }

int ChoosePreset(int height) {
  for (int i = 0; i < kPresetCount; ++i) {
    if (PresetNeededHeight(i) <= height) return i;
  }
  return kPresetCount - 1;
}

void LayoutSidebar(MainLayout& out, int height, const DensityPreset& preset, const MainMeasures& m) {
  const int sw = out.sidebarWidth;
  const int p = S(16);
  const int contentWidth = sw - 2 * S(16);
  const int right = sw - S(16);
  const int b = S(preset.buttonHeight), a = S(preset.gap);
  const int g = preset.sectionGap;
  int y = S(g);

  out.logoRect = At(p, y, S(38), S(38));
  const int titleLeft = p + S(38) + S(12);
  out.titleRect = Rect{titleLeft, y, titleLeft + m.titleWidth, y + S(21)};
  const int badgeWidth = m.badgeTextWidth + S(12);
  const int badgeLeft = out.titleRect.right + S(7);
  if (badgeLeft + badgeWidth <= right) out.badgeRect = Rect{badgeLeft, y + S(3), badgeLeft + badgeWidth, y + S(19)};
  out.subtitleRect = Rect{titleLeft, y + S(21), right, y + S(38)};
  y += S(38) + S(g - 2);

  if (preset.showsCard) {
    out.infoCardRect = Rect{p, y, right, y + CardHeight()};
    y += CardHeight() + S(g - 2);
  }
  out.quickTitleRect = Rect{p + S(4), y, right, y + S(20)};
  y += S(20);
  for (Rect& action : out.quickActions) {
    action = At(p, y, contentWidth, b);
    y += b + a;
  }
  y += S(8) - a;
  out.powerTitleRect = Rect{p + S(4), y, right, y + S(20)};
  y += S(20);
  out.firmwareOrder = At(p, y, contentWidth, b);
  y += b + a;
  out.firmwareRestart = At(p, y, contentWidth, b);
  y += b + a;

  const int half = (contentWidth - S(6)) / 2;
  const int secondLeft = p + half + S(6);
  const int secondWidth = contentWidth - half - S(6);
  out.restart = At(p, y, half, b);
  out.shutdown = At(secondLeft, y, secondWidth, b);
  const int bottomRow = height - S(g - 2) - S(32);
  out.styleToggle = At(p, bottomRow, half, S(32));
  out.languageToggle = At(secondLeft, bottomRow, secondWidth, S(32));
}

// Places groups left to right along a row, starting a new row below when a group
// would pass the right edge (a group alone on its row is never moved).
class FlowRow {
 public:
  FlowRow(int left, int right, int top, int rowHeight) : left_(left), right_(right), x_(left), y_(top), rowHeight_(rowHeight) {}

  int Place(int width) {
    if (x_ > left_ && x_ + width > right_) {
      x_ = left_;
      y_ += rowHeight_ + S(8);
    }
    const int x = x_;
    x_ += width + S(14);
    return x;
  }
  int Top() const { return y_; }

 private:
  int left_, right_, x_, y_, rowHeight_;
};

// Returns the header's bottom edge.
int LayoutHeader(MainLayout& out, int width, const MainMeasures& m) {
  const int sw = out.sidebarWidth;
  const int left = sw + S(20), right = width - S(20);
  int y = S(14);

  const int w1 = m.browseWidth, w2 = m.refreshWidth;
  out.refresh = At(right - w2, y, w2, S(34));
  out.browse = At(right - S(8) - w1 - w2, y, w1, S(34));
  int x = left;
  if (width - sw >= S(640)) {
    out.storeLabelRect = Rect{left, y, left + m.storeLabelWidth, y + S(34)};
    x = out.storeLabelRect.right + S(8);
  }
  out.storeSelector = At(x, y, right - S(24) - x - w1 - w2, S(34));

  y += S(34) + S(10);
  const int rh = S(32);
  FlowRow flow(left, right, y, rh);

  const int applyWidth = m.applyWidth + S(6);
  const int timeoutWidth = S(15) + S(8) + m.timeoutLabelWidth + S(8) + S(68) + S(8) + applyWidth;
  x = flow.Place(timeoutWidth);
  y = flow.Top();
  out.clockRect = At(x, y + (rh - S(15)) / 2, S(15), S(15));
  out.timeoutLabelRect = Rect{x + S(15) + S(8), y, x + S(15) + S(8) + m.timeoutLabelWidth, y + rh};
  const int frameLeft = out.timeoutLabelRect.right + S(8);
  out.timeoutFrameRect = Rect{frameLeft, y, frameLeft + S(68), y + rh};
  out.timeoutEdit = At(frameLeft + S(6), y + (rh - m.editHeight) / 2, S(56), m.editHeight);
  out.apply = At(frameLeft + S(68) + S(8), y, applyWidth, rh);

  x = flow.Place(kTimeoutPresetCount * S(40) + (kTimeoutPresetCount - 1) * S(4));
  y = flow.Top();
  for (int i = 0; i < kTimeoutPresetCount; ++i) {
    out.timeoutPresets[i] = At(x + i * (S(40) + S(4)), y + S(2), S(40), rh - S(4));
  }

  x = flow.Place(m.checkBoxWidth);
  y = flow.Top();
  out.showBootMenu = At(x, y, m.checkBoxWidth, rh);

  const int bottom = y + rh + S(14);
  out.headerRect = Rect{sw, 0, width, bottom};
  out.busyBarRect = Rect{sw, bottom - S(3), width, bottom};
  return bottom;
}

// Returns the log pane's top edge.
int LayoutLog(MainLayout& out, int width, int height, const MainMeasures& m) {
  const int sw = out.sidebarWidth;
  const int left = sw + S(20), right = width - S(20);
  const int textHeight = height < S(640) ? S(62) : S(96);
  const int top = height - S(12) - S(10) - S(26) - textHeight - S(6);
  out.logRect = Rect{sw, top, width, height};

  const int y = top + S(10);
  const int wc = m.clearWidth, wk = m.copyWidth;
  out.clearLog = At(right - wc, y, wc, S(26));
  out.copyLog = At(right - S(4) - wk - wc, y, wk, S(26));
  out.logTitleRect = Rect{left, y, left + m.logTitleWidth, y + S(26)};
  out.statusRect = Rect{out.logTitleRect.right + S(8), y, right - S(14) - wk - wc, y + S(26)};
  out.logView = At(left, y + S(26) + S(6), right - left, textHeight);
  return top;
}

}  // namespace

int PresetNeededHeight(int presetIndex) {
  const DensityPreset& p = kDensityPresets[static_cast<size_t>(presetIndex)];
  const int g = p.sectionGap;
  const int card = p.showsCard ? S(g - 2) + CardHeight() : 0;
  // The quick actions, then the power rows: firmware order, firmware setup, restart and shut down.
  constexpr int kPowerRows = 3;
  return S(g) + S(38) + S(g - 2) + card + S(20) + (kQuickActionCount + kPowerRows) * S(p.buttonHeight) +
         (kQuickActionCount + kPowerRows - 2) * S(p.gap) + S(8) + S(20) + S(32) + S(g - 2) + S(10);
}

MainLayout LayoutMain(int width, int height, const MainMeasures& measures) {
  MainLayout out;
  out.sidebarWidth = width >= S(1000) ? S(284) : S(256);
  const int preset = ChoosePreset(height);
  out.preset = preset + 1;
  LayoutSidebar(out, height, kDensityPresets[static_cast<size_t>(preset)], measures);
  const int headerBottom = LayoutHeader(out, width, measures);
  const int logTop = LayoutLog(out, width, height, measures);
  out.entries = At(out.sidebarWidth, headerBottom, width - out.sidebarWidth, std::max(0, logTop - headerBottom));
  return out;
}

InfoRowGeometry LayoutInfoRow(Rect row, int labelWidth, int valueWidth) {
  InfoRowGeometry out;
  const int vw = std::min(valueWidth, row.Width() - labelWidth - S(22));
  if (vw <= 0) return out;
  out.showsValue = true;
  out.value = Rect{row.right - vw, row.top, row.right, row.bottom};
  const int d = S(7);
  const int t = row.top + 1 + (row.Height() - d) / 2;
  out.dot = Rect{out.value.left - d - S(6), t, out.value.left - S(6), t + d};
  return out;
}

Rect BusyBarSpan(Rect strip, int frame) {
  const int sw = strip.Width();
  const int bw = std::max(S(80), sw / 4);
  const long long cycle = static_cast<long long>(sw) + bw;
  if (cycle <= 0 || frame < 0) return Rect{};
  const int p = static_cast<int>((static_cast<long long>(frame) * S(12)) % cycle);
  const int left = strip.left + std::max(0, p - bw);
  const int right = std::min(strip.left + p, strip.right);
  if (right <= left) return Rect{};
  return Rect{left, strip.top, right, strip.bottom};
}

Size InitialMainSize(int workWidth, int workHeight) {
  return Size{std::min(workWidth, S(1180)), std::min(workHeight, S(760))};
}

Size MinimumMainSize(int workWidth, int workHeight) {
  // At 192 DPI on a 1080-line screen S(540) is taller than the work area, and a
  // window that cannot shrink to fit hides its log and bottom buttons off screen.
  const auto fit = [](int wanted, int work) { return work > 0 ? std::min(wanted, work) : wanted; };
  return Size{fit(S(780), workWidth), fit(S(540), workHeight)};
}

}  // namespace ui
