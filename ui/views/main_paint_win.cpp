// Painting of the main window's own parts; the children paint themselves.
#include "ui/canvas_win.h"
#include "ui/theme_win.h"
#include "ui/views/main_view_win.h"

namespace ui {
namespace {

int S(int v) { return ScaleDpi(v); }

// A one-pixel line along the top or bottom edge of a panel.
Rect TopRow(Rect r) { return Rect{r.left, r.top, r.right, r.top + 1}; }
Rect BottomRow(Rect r) { return Rect{r.left, r.bottom - 1, r.right, r.bottom}; }

void InfoRow(Canvas& canvas, Rect row, const InfoRowText& text, const Palette& p) {
  canvas.DrawText(text.label, row, Regular11, p.MutedText, kSingleLine);
  const InfoRowGeometry g = LayoutInfoRow(row, MeasureTextWidth(text.label, Regular11).width,
                                          MeasureTextWidth(text.value, Semibold12).width);
  if (!g.showsValue) return;
  canvas.DrawText(text.value, g.value, Semibold12, p.Text, kSingleLine);
  if (text.dot != kNoColour) canvas.FillRoundRect(g.dot, g.dot.Width() / 2, text.dot, kNoColour, 1, 255, 255);
}

void PaintSidebar(Canvas& canvas, const MainView& view, const MainViewState& state, int height, const Palette& p) {
  const MainLayout& l = view.layout;
  canvas.FillRect(Rect{0, 0, l.sidebarWidth, height}, p.Sidebar);
  canvas.FillRect(Rect{l.sidebarWidth - 1, 0, l.sidebarWidth, height}, p.Border);
  canvas.DrawImage(view.appIcon, l.logoRect.left, l.logoRect.top);
  canvas.DrawText(L"Zel Quillon", l.titleRect, Bold16, p.Text, kSingleLine);
  if (!l.badgeRect.IsEmpty()) {
    canvas.FillRoundRect(l.badgeRect, S(5), Accent, Accent, 1, 36, 85);
    canvas.DrawText(L"PE", l.badgeRect, Semibold11, Accent, kSingleLineCentred);
  }
  canvas.DrawText(SubtitleText(), l.subtitleRect, Regular11, p.MutedText, kSingleLine);

  if (!l.infoCardRect.IsEmpty()) {
    const Rect& card = l.infoCardRect;
    canvas.FillRoundRect(card, S(10), p.Card, p.Border, 1, 255, 255);
    static const zel::BcdSnapshot kEmpty;
    const zel::BcdSnapshot& snapshot = state.snapshot ? *state.snapshot : kEmpty;
    const auto rows =
        InfoCardRows(state.environmentLabel, state.firmware, snapshot.entries.size(), snapshot.timeoutSeconds);
    Rect row{card.left + S(12), card.top + S(10), card.right - S(12), card.top + S(10) + S(19)};
    for (const InfoRowText& text : rows) {
      InfoRow(canvas, row, text, p);
      row.top += S(19);
      row.bottom += S(19);
    }
  }
  canvas.DrawText(QuickActionsTitle(), l.quickTitleRect, Semibold11, p.MutedText, kSingleLine);
  canvas.DrawText(PowerTitle(), l.powerTitleRect, Semibold11, p.MutedText, kSingleLine);
}

void PaintHeader(Canvas& canvas, const MainView& view, const MainViewState& state, const Palette& p) {
  const MainLayout& l = view.layout;
  canvas.FillRect(l.headerRect, p.Surface);
  canvas.FillRect(BottomRow(l.headerRect), p.Border);
  if (!l.storeLabelRect.IsEmpty()) canvas.DrawText(StoreLabelText(), l.storeLabelRect, Semibold13, p.Text, kSingleLine);
  canvas.DrawIcon(kIconClock, l.clockRect.left, l.clockRect.top, l.clockRect.Width(), p.Text);
  canvas.DrawText(TimeoutLabelText(), l.timeoutLabelRect, Semibold13, p.Text, kSingleLine);
  const bool editFocused = view.timeoutEdit && GetFocus() == view.timeoutEdit;
  canvas.FillRoundRect(l.timeoutFrameRect, S(8), p.Input, editFocused ? Accent : p.Border, 1, 255, 255);
  if (state.busy) canvas.FillRect(BusyBarSpan(l.busyBarRect, state.busyFrame), Accent);
}

void PaintLogHeader(Canvas& canvas, const MainView& view, const MainViewState& state, const Palette& p) {
  const MainLayout& l = view.layout;
  canvas.FillRect(l.logRect, p.Surface);
  canvas.FillRect(TopRow(l.logRect), p.Border);
  canvas.DrawText(LogTitleText(), l.logTitleRect, Semibold12, p.MutedText, kSingleLine);
  canvas.DrawText(L"\u2022  " + state.statusText, l.statusRect, Semibold12, p.Text, kSingleLine);
}

// The strip alone, as the full paint leaves it: the header's surface, its bottom border, the bar.
void PaintBusyStrip(HDC dc, const MainView& view, const MainViewState& state) {
  const MainLayout& l = view.layout;
  const Rect strip = l.busyBarRect;
  const auto local = [&strip](Rect r) {
    return Rect{r.left - strip.left, r.top - strip.top, r.right - strip.left, r.bottom - strip.top};
  };
  Canvas canvas(strip.Width(), strip.Height());
  const Palette& p = CurrentPalette();
  canvas.FillRect(local(strip), p.Surface);
  canvas.FillRect(local(BottomRow(l.headerRect)), p.Border);
  if (state.busy) canvas.FillRect(local(BusyBarSpan(strip, state.busyFrame)), Accent);
  canvas.Present(dc, strip.left, strip.top);
}

}  // namespace

void PaintMainArea(HDC dc, const MainView& view, const MainViewState& state, const RECT& area) {
  const Rect strip = view.layout.busyBarRect;
  if (!strip.IsEmpty() && area.left >= strip.left && area.top >= strip.top && area.right <= strip.right &&
      area.bottom <= strip.bottom) {
    PaintBusyStrip(dc, view, state);
    return;
  }
  PaintMain(dc, view, state);
}

void PaintMain(HDC dc, const MainView& view, const MainViewState& state) {
  RECT client{};
  GetClientRect(view.window, &client);
  Canvas canvas(client.right, client.bottom);
  const Palette& p = CurrentPalette();
  canvas.FillRect(Rect{0, 0, client.right, client.bottom}, p.Background);
  PaintSidebar(canvas, view, state, client.bottom, p);
  PaintHeader(canvas, view, state, p);
  PaintLogHeader(canvas, view, state, p);
  canvas.Present(dc, 0, 0);
}

}  // namespace ui
