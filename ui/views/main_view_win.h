#pragma once
// The main window's children, their layout and the painting of everything that
// is not a child: the sidebar, the information card, the header panel, the busy
// bar and the log header. The window procedure and the commands live in the
// application, which owns a MainView and a MainViewState and calls in here.
#include <windows.h>

#include <memory>
#include <span>
#include <string>

#include "core/bcd_model.h"
#include "ui/pixels.h"
#include "ui/text_view_win.h"
#include "ui/views/main_layout.h"
#include "ui/views/main_texts.h"

namespace ui {

// What the application shows through the main window's painting. The application
// writes it (UI thread only) and repaints the part it changed.
struct MainViewState {
  std::wstring selectedStorePath;  // empty: the running system's store
  std::wstring environmentLabel;   // "Windows" or "Windows PE (X:)"
  zel::FirmwareKind firmware = zel::FirmwareKind::Unknown;
  std::wstring statusText;
  const zel::BcdSnapshot* snapshot = nullptr;  // the loaded snapshot; null counts as empty
  bool busy = false;                           // a job runs: the busy bar moves
  int busyFrame = 0;                           // the busy bar's position
};

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The window's handles and geometry. Buttons are found with GetDlgItem by identifier.
struct MainView {
  HWND window = nullptr;
  HWND entries = nullptr;      // 108, the entries list; null if it could not be made
  HWND timeoutEdit = nullptr;  // 112
  TextView* log = nullptr;     // 129; owned by its window
  MainLayout layout;           // rebuilt by every layout pass
  std::span<const CommandFace> commands;  // the application's, for the window's lifetime
  IconHandle appIconHandle;    // resource 101 at 256 x 256, loaded once
  Image appIcon;               // the same at S(38), for the current DPI
};

// Loads icon 101 once and (re)makes its S(38) image: on WM_CREATE and WM_DPICHANGED.
void LoadAppIcon(MainView& view);
// On WM_CREATE: every child in the order of the control table, with the icons and
// labels of `commands` (kept in view), the environment and firmware texts and the
// "Ready." status into state, then ApplyTexts. The entries list is created
// unconnected: the application gives it its EntriesHost.
void CreateMainControls(MainView& view, MainViewState& state, std::span<const CommandFace> commands);
// Every button text in the current language and style (not the store selector's).
void ApplyTexts(const MainView& view);
// The store selector's text for a store path (empty = system store), repainted.
void ApplyStoreSelectorText(const MainView& view, const std::wstring& storePath);
// The layout pass for a client of width x height: the named rectangles and the children.
void LayoutMain(MainView& view, int width, int height);
// Layout for the current client size, the entries list's layout, a full redraw with children.
void Relayout(MainView& view);
// WM_PAINT, between BeginPaint and EndPaint: the whole client into one canvas.
void PaintMain(HDC dc, const MainView& view, const MainViewState& state);
// A repaint of the window's own parts for the area BeginPaint gives: when that lies within the
// busy bar's strip (the busy timer's ticks), only the strip is drawn; otherwise all of it.
void PaintMainArea(HDC dc, const MainView& view, const MainViewState& state, const RECT& area);

// WM_GETMINMAXINFO: the smallest tracking size, inside the work area of the window's monitor.
void SetMinimumTrackSize(HWND window, MINMAXINFO& info);

// The DPI the toolkit draws at (never below 96), with fonts made for it.
void TakeDpi(int dpi);
// WM_DPICHANGED: the new DPI, the icon and the time-out field's font for it, the
// rectangle the system suggests, and a new layout.
void ApplyDpiChange(MainView& view, int dpi, const RECT& suggested);
// WM_MOUSEWHEEL: the log scrolls when the pointer is over it, the entries list otherwise.
HWND WheelTarget(const MainView& view, POINT screenPoint);

// The parts that change alone (no erase).
void InvalidateBusyBar(const MainView& view);
void InvalidateStatus(const MainView& view);
void InvalidateTimeoutFrame(const MainView& view);

}  // namespace ui
