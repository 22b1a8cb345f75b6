// The main window's children on a real window: where a wheel turn goes, and what a
// DPI change redoes. The host lays the children out on WM_SIZE, as the application does.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST(MainViewOnWine, TheWheelGoesToThePaneUnderThePointerAndADpiChangeLaysOutAgain) {
  ASSERT_TRUE(RegisterEntriesClass(GetModuleHandleW(nullptr)));
  WNDCLASSW cls{};
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"ZqTestMainHost";
  RegisterClassW(&cls);
  const CommandFace faces[] = {{kAddWinPeId, '1', 0, kIconDisc, L"[1] Thêm", L"[1] Add", true}};
  const HWND window = CreateWindowExW(0, cls.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1180, 760,
                                     nullptr, nullptr, cls.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  g_view.window = window;
  MainViewState state;
  CreateMainControls(g_view, state, faces);
  Relayout(g_view);
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
  DestroyWindow(window);
  g_view.window = g_view.entries = g_view.timeoutEdit = nullptr;
  g_view.log = nullptr;
}

}  // namespace
}  // namespace ui
