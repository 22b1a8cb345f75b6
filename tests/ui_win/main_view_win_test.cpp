// The main window's children on a real window: where a wheel turn goes, and what a
// DPI change redoes. The host lays the children out on WM_SIZE, as the application does.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/canvas_win.h"
#include "ui/theme_win.h"
#include "ui/views/entries_view_win.h"
#include "ui/views/main_view_win.h"

namespace ui {
namespace {

MainView g_view;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && g_view.window == window) LayoutMain(g_view, LOWORD(lParam), HIWORD(lParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

POINT CentreOf(HWND window) {
  const RECT r = ScreenRect(window);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const CommandFace kFaces[] = {{kAddWinPeId, '1', 0, kIconDisc, L"[1] Thêm", L"[1] Add", true}};

// The main window's children on a host window of 1180 x 760, laid out.
HWND CreateHost(MainViewState& state) {
  RegisterEntriesClass(GetModuleHandleW(nullptr));
  WNDCLASSW cls{};
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"ZqTestMainHost";
  RegisterClassW(&cls);
  const HWND window = CreateWindowExW(0, cls.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1180, 760,
                                     nullptr, nullptr, cls.hInstance, nullptr);
  if (window == nullptr) return nullptr;
  g_view.window = window;
  CreateMainControls(g_view, state, kFaces);
  Relayout(g_view);
  return window;
}

void DestroyHost(HWND window) {
  DestroyWindow(window);
  g_view.window = g_view.entries = g_view.timeoutEdit = nullptr;
  g_view.log = nullptr;
}

TEST(MainViewOnWine, TheWheelGoesToThePaneUnderThePointerAndADpiChangeLaysOutAgain) {
  MainViewState state;
  const HWND window = CreateHost(state);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(g_view.log != nullptr && g_view.entries != nullptr);
  const HWND sidebarButton = GetDlgItem(window, kAddWinPeId);

  EXPECT_EQ(WheelTarget(g_view, CentreOf(g_view.log->hwnd)), g_view.log->hwnd);
  EXPECT_EQ(WheelTarget(g_view, CentreOf(g_view.entries)), g_view.entries);
  EXPECT_EQ(WheelTarget(g_view, CentreOf(sidebarButton)), g_view.entries);

  // The window takes the suggested rectangle; fonts, the time-out field's too, and the layout
  // follow the new DPI (the wide sidebar's buttons are S(284) - 2 S(16)), which is never below 96.
  const RECT suggested{20, 20, 20 + 1560, 20 + 960};  // within the test screen, wide enough at 144 DPI
  for (const auto& [dpi, taken] : {std::pair{144, 144}, std::pair{72, 96}}) {
    ApplyDpiChange(g_view, dpi, suggested);
    const RECT now = ScreenRect(window), button = ScreenRect(sidebarButton);
    EXPECT_EQ(CurrentDpi(), taken);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    EXPECT_EQ(SendMessageW(g_view.timeoutEdit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(Font(Semibold13))) << dpi;
    EXPECT_EQ(button.right - button.left, ScaleDpi(284) - 2 * ScaleDpi(16)) << dpi;
  }
  DestroyHost(window);
}

// The busy timer repaints the bar's strip alone, many times a second: it must leave
// exactly the pixels a full paint leaves there, wherever the bar is.
TEST(MainViewOnWine, TheBusyStripAlonePaintsWhatAFullPaintPaints) {
  MainViewState state;
  const HWND window = CreateHost(state);
  ASSERT_NE(window, nullptr);
  const Rect bar = g_view.layout.busyBarRect;
  ASSERT_FALSE(bar.IsEmpty());
  RECT client{};
  GetClientRect(window, &client);
  const Canvas full(client.right, client.bottom), strip(client.right, client.bottom);
  for (const int frame : {0, 7, 40}) {
    state.busy = true;
    state.busyFrame = frame;
    PaintMain(full.Dc(), g_view, state);
    PatBlt(strip.Dc(), 0, 0, client.right, client.bottom, BLACKNESS);
    PaintMainArea(strip.Dc(), g_view, state, ToRECT(bar));
    const PixelView whole = full.Pixels(), alone = strip.Pixels();
    int differing = 0;
    for (int y = bar.top; y < bar.bottom; ++y) {
      for (int x = bar.left; x < bar.right; ++x) differing += whole.At(x, y) != alone.At(x, y);
    }
    EXPECT_EQ(differing, 0) << "frame " << frame;
  }
  DestroyHost(window);
}

}  // namespace
}  // namespace ui
