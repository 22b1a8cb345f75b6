// main-demo: the main window with made-up state (a store of five entries, a few
// log lines), so its layout and painting can be looked at and screenshotted
// without the application. The style, language and time-out buttons work; the
// other commands only report themselves in the status line.
//   main-demo.exe [--light] [--en] [--busy] [--bios] [--store PATH] [--status TEXT]
//                 [--dpi N] [--size WIDTH,HEIGHT] [--no-min-size] [--focus-timeout]
//                 [--press ID]...   (clicks the control ID once the window runs)
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/language.h"
#include "ui/canvas_win.h"
#include "ui/controls_win.h"
#include "ui/theme_win.h"
#include "ui/views/entries_view_win.h"
#include "ui/views/main_view_win.h"

namespace {

using namespace ui;

constexpr UINT_PTR kBusyTimer = 1;

struct Options {
  bool busy = false;
  bool bench = false;  // time the paints of a 50-card list and exit
  bool bios = false;
  bool minSize = true;
  bool focusTimeout = false;
  int dpi = 0;
  int width = 0;  // window size; 0 = the application's first size
  int height = 0;
  std::wstring store;
  std::wstring status;
  std::vector<int> presses;
};

Options g_options;
MainView g_view;
MainViewState g_state;
zel::BcdSnapshot g_snapshot;
std::wstring g_selected;

zel::BootEntry Entry(const wchar_t* id, const wchar_t* description, const wchar_t* device, const wchar_t* path,
                     int order) {
  zel::BootEntry e;
  e.identifier = id;
  e.description = description;
  e.device = device;
  e.osDevice = device;
  e.path = path;
  e.inDisplayOrder = order > 0;
  e.displayOrderIndex = order;
  return e;
}

zel::BcdSnapshot MadeUpSnapshot() {
  zel::BcdSnapshot s;
  s.loaded = true;
  s.timeoutSeconds = 10;
  auto win11 = Entry(L"{4a1c2f0e-7d3b-11ee-9f2a-00155d012345}", L"Windows 11 Pro", L"partition=C:",
                     L"\\Windows\\system32\\winload.efi", 1);
  win11.isWindows = win11.isDefault = win11.isCurrent = true;
  auto pe = Entry(L"{4a1c2f0f-7d3b-11ee-9f2a-00155d012345}", L"WinPE Rescue (x64)",
                  L"ramdisk=[D:]\\sources\\boot.wim,{7619dcc8-fafe-11d9-b411-000476eba25f}",
                  L"\\windows\\system32\\boot\\winload.efi", 2);
  pe.isWinPe = true;
  auto win10 = Entry(L"{4a1c2f10-7d3b-11ee-9f2a-00155d012345}", L"Windows 10 Enterprise LTSC", L"partition=E:",
                     L"\\Windows\\system32\\winload.efi", 3);
  win10.isWindows = true;
  win10.bootMenuPolicy = L"Legacy";
  auto memtest = Entry(L"{b2721d73-1db4-4c62-bf78-c548a880142d}", L"Windows Memory Diagnostic", L"partition=\\Device\\HarddiskVolume1",
                       L"\\EFI\\Microsoft\\Boot\\memtest.efi", 4);
  auto hidden = Entry(L"{4a1c2f11-7d3b-11ee-9f2a-00155d012345}", L"Hiren's style PE (hidden)",
                      L"ramdisk=[F:]\\pe\\tools.wim,{7619dcc8-fafe-11d9-b411-000476eba25f}",
                      L"\\windows\\system32\\boot\\winload.efi", 0);
  hidden.isWinPe = true;
  s.entries = {win11, pe, win10, memtest, hidden};
  s.defaultId = win11.identifier;
  s.currentId = win11.identifier;
  for (const auto& e : s.entries) {
    if (e.inDisplayOrder) s.displayOrder.push_back(e.identifier);
  }
  return s;
}

void Log(const std::wstring& line) {
  if (!g_view.log) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t stamp[16];
  wsprintfW(stamp, L"[%02u:%02u:%02u] ", now.wHour, now.wMinute, now.wSecond);
  SetText(g_view.log, stamp + line);
  Rewrap(g_view.log);
  InvalidateRect(g_view.log->hwnd, nullptr, FALSE);
}

void SetStatus(const std::wstring& text) {
  g_state.statusText = text;
  InvalidateStatus(g_view);
}

void SwitchStyle() {
  g_darkTheme = !g_darkTheme;
  ResetEditBrush();
  ApplyTexts(g_view);
  SetButtonIcon(GetDlgItem(g_view.window, kStyleToggleId), g_darkTheme ? kIconMoon : kIconSun);
  ApplyTitleBarStyle(g_view.window);
  RedrawWindow(g_view.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SwitchLanguage() {
  zel::g_vietnamese = !zel::g_vietnamese;
  ApplyTexts(g_view);
  ApplyStoreSelectorText(g_view, g_state.selectedStorePath);
  g_state.statusText = StatusText(Status::Ready);
  Relayout(g_view);
}

void OnCommand(int id, int notification) {
  if (id == kTimeoutEditId) {
    if (notification == EN_SETFOCUS || notification == EN_KILLFOCUS) InvalidateTimeoutFrame(g_view);
    return;
  }
  if (id >= kTimeoutPresetFirstId && id < kTimeoutPresetFirstId + kTimeoutPresetCount) {
    const int seconds = kTimeoutPresetSeconds[static_cast<size_t>(id - kTimeoutPresetFirstId)];
    SetWindowTextW(g_view.timeoutEdit, std::to_wstring(seconds).c_str());
  }
  switch (id) {
    case kStyleToggleId:
      SwitchStyle();
      return;
    case kLanguageToggleId:
      SwitchLanguage();
      return;
    case kShowBootMenuId: {
      HWND box = GetDlgItem(g_view.window, id);
      SetChecked(box, !IsChecked(box));
      return;
    }
    case kClearLogId:
      if (g_view.log) {
        g_view.log->content.lines.clear();
        Rewrap(g_view.log);
        InvalidateRect(g_view.log->hwnd, nullptr, FALSE);
      }
      return;
  }
  SetStatus(L"Command " + std::to_wstring(id));
}

void StartUp(HWND window) {
  g_view.window = window;
  LoadAppIcon(g_view);
  g_state.selectedStorePath = g_options.store;
  CreateMainControls(g_view, g_state, app::kCommandFaces);
  // Made-up machine: a UEFI PC booted into Windows PE, unless asked otherwise.
  g_state.environmentLabel = L"Windows PE (X:)";
  g_state.firmware = g_options.bios ? zel::FirmwareKind::LegacyBios : zel::FirmwareKind::Uefi;
  g_state.snapshot = &g_snapshot;
  if (!g_options.status.empty()) g_state.statusText = g_options.status;

  EntriesHost host;
  host.snapshot = &g_snapshot;
  host.selectedEntryId = &g_selected;
  host.busy = &g_state.busy;
  host.onAction = [](CardAction action) { SetStatus(L"Card action " + std::to_wstring(static_cast<int>(action))); };
  if (g_view.entries) SetEntriesHost(g_view.entries, host);

  Log(zel::Pick(L"Zel Quillon PE đã khởi động. Không cần .NET hoặc VC++ Redistributable.",
                L"Zel Quillon PE started. No .NET or VC++ Redistributable required."));
  Log(L"> bcdedit (system) /enum all /v [OK]");
  Log(L"> Auto-backup \u2192 X:\\ZelQuillonPE\\Backups\\BCD_System_20240611_101502.bcd [OK]");
  Log(L"> " + std::wstring(zel::Pick(L"Đổi tên mục khởi động", L"Rename boot entry")) + L" [OK]");
  Log(L"> bcdedit (system) /enum all /v [OK]");

  if (g_options.busy) {
    g_state.busy = true;
    g_state.busyFrame = 40;
    g_state.statusText = zel::Pick(L"Đang tải BCD...", L"Loading BCD...");
    SetTimer(window, kBusyTimer, 30, nullptr);
  }
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      StartUp(window);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        LayoutMain(g_view, LOWORD(lParam), HIWORD(lParam));
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      PaintMainArea(dc, g_view, g_state, ps.rcPaint);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_GETMINMAXINFO:
      if (g_options.minSize) SetMinimumTrackSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (HandleOwnerDraw(message, lParam)) return TRUE;
      break;
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(EditColours(reinterpret_cast<HDC>(wParam)));
    case WM_TIMER:
      if (wParam == kBusyTimer) {
        ++g_state.busyFrame;
        InvalidateBusyBar(g_view);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ReadOptions(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const std::wstring next = i + 1 < argc ? argv[i + 1] : L"";
    if (arg == L"--light") g_darkTheme = false;
    if (arg == L"--en") zel::g_vietnamese = false;
    if (arg == L"--busy") g_options.busy = true;
    if (arg == L"--bench") g_options.bench = true;
    if (arg == L"--bios") g_options.bios = true;
    if (arg == L"--no-min-size") g_options.minSize = false;
    if (arg == L"--focus-timeout") g_options.focusTimeout = true;
    if (arg == L"--store") g_options.store = next;
    if (arg == L"--status") g_options.status = next;
    if (arg == L"--dpi") g_options.dpi = _wtoi(next.c_str());
    if (arg == L"--press") g_options.presses.push_back(_wtoi(next.c_str()));
    if (arg == L"--size") {
      const size_t comma = next.find(L',');
      g_options.width = _wtoi(next.substr(0, comma).c_str());
      g_options.height = comma == std::wstring::npos ? 0 : _wtoi(next.substr(comma + 1).c_str());
    }
  }
}

}  // namespace

// Median milliseconds of `paint` over 30 runs.
template <typename Paint>
double MedianMs(Paint paint) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int i = 0; i < 30; ++i) {
    QueryPerformanceCounter(&start);
    paint();
    QueryPerformanceCounter(&end);
    times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The busy timer's repaint of the strip alone must leave the same pixels as a full paint.
bool BusyStripMatchesFullPaint(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC screen = GetDC(window);
  HDC full = CreateCompatibleDC(screen), strip = CreateCompatibleDC(screen);
  HBITMAP fullBits = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HBITMAP stripBits = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ oldFull = SelectObject(full, fullBits), oldStrip = SelectObject(strip, stripBits);
  const Rect bar = g_view.layout.busyBarRect;
  const RECT area{bar.left, bar.top, bar.right, bar.bottom};
  int differing = 0;
  double stripMs = 0;
  for (const int frame : {0, 7, 40}) {
    g_state.busy = true;
    g_state.busyFrame = frame;
    PaintMain(full, g_view, g_state);
    PatBlt(strip, 0, 0, client.right, client.bottom, BLACKNESS);
    stripMs = MedianMs([&] { PaintMainArea(strip, g_view, g_state, area); });
    for (int y = bar.top; y < bar.bottom; ++y) {
      for (int x = bar.left; x < bar.right; ++x) differing += GetPixel(full, x, y) != GetPixel(strip, x, y);
    }
  }
  g_state.busy = false;
  SelectObject(full, oldFull);
  SelectObject(strip, oldStrip);
  DeleteObject(fullBits);
  DeleteObject(stripBits);
  DeleteDC(full);
  DeleteDC(strip);
  ReleaseDC(window, screen);
  std::printf("busy strip alone: %.3f ms, %d pixels differ from a full paint\n", stripMs, differing);
  return differing == 0 && !bar.IsEmpty();
}

// --bench: a full main-window paint at 1180 x 760 and a repaint of a 50-card list.
int RunBench(HWND window) {
  zel::BcdSnapshot many = g_snapshot;
  many.entries.clear();
  for (int i = 0; i < 50; ++i) {
    zel::BootEntry e = g_snapshot.entries[static_cast<size_t>(i) % g_snapshot.entries.size()];
    e.identifier[1] = static_cast<wchar_t>(L'a' + i % 6);
    e.displayOrderIndex = i + 1;
    many.entries.push_back(e);
  }
  g_snapshot = many;
  LayoutEntries(g_view.entries);
  RECT client;
  GetClientRect(window, &client);
  HDC screen = GetDC(window);
  const double main = MedianMs([&] { PaintMain(screen, g_view, g_state); });
  ReleaseDC(window, screen);
  const double entries = MedianMs([&] {
    InvalidateRect(g_view.entries, nullptr, FALSE);
    UpdateWindow(g_view.entries);
  });
  std::printf("PaintMain %ldx%ld: %.2f ms; entries list, 50 cards: %.2f ms (median of 30; goal 10 ms each)\n",
              client.right, client.bottom, main, entries);
  const bool stripSame = BusyStripMatchesFullPaint(window);
  return main > 20.0 || entries > 20.0 || !stripSame ? 1 : 0;  // twice the goal: timing under Wine varies
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  ReadOptions(__argc, __wargv);
  if (!InitUi(instance) || !RegisterEntriesClass(instance)) return 1;
  if (g_options.dpi > 0) {
    SetDpi(g_options.dpi);
    RecreateFonts();
  }
  g_snapshot = MadeUpSnapshot();
  g_selected = g_snapshot.entries[1].identifier;

  WNDCLASSEXW cls{sizeof(cls)};
  cls.lpfnWndProc = DemoProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  cls.hIconSm = cls.hIcon;
  cls.lpszClassName = L"ZelQuillonPE.MainDemo";
  RegisterClassExW(&cls);

  RECT work{0, 0, 1280, 800};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Size size = InitialMainSize(work.right - work.left, work.bottom - work.top);
  if (g_options.width > 0 && g_options.height > 0) size = Size{g_options.width, g_options.height};
  const int x = work.left + (work.right - work.left - size.width) / 2;
  const int y = work.top + (work.bottom - work.top - size.height) / 2;
  HWND window = CreateWindowExW(0, cls.lpszClassName, MainWindowTitle().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                x, y, size.width, size.height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ApplyTitleBarStyle(window);
  ShowWindow(window, show);
  UpdateWindow(window);
  SetFocus(g_options.focusTimeout ? g_view.timeoutEdit : g_view.entries);
  // Posted like the keyboard shortcuts are, so they run once the loop does.
  for (int id : g_options.presses) PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  if (g_options.bench) {
    const int status = RunBench(window);
    DestroyWindow(window);
    DestroyFonts();
    return status;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyFonts();
  return static_cast<int>(msg.wParam);
}
