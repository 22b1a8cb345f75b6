#include "ui/dialog_win.h"

#include <algorithm>

#include "ui/controls_win.h"
#include "ui/theme_win.h"

namespace ui {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

Dialog* DialogOf(HWND window) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void PaintDialog(Dialog& dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog.hwnd, &ps);
  RECT client{};
  GetClientRect(dialog.hwnd, &client);
  const int w = client.right, h = client.bottom;
  const Palette& p = CurrentPalette();
  Canvas canvas(w, h);
  canvas.FillRect(Rect{0, 0, w, h}, p.Surface);
  const int footer = h - ScaleDpi(64);
  canvas.FillRect(Rect{0, footer, w, h}, p.Card);
  canvas.FillRect(Rect{0, footer, w, footer + 1}, p.Border);
  dialog.OnPaint(canvas, w, h);
  canvas.Present(dc, 0, 0);
  EndPaint(dialog.hwnd, &ps);
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

void Dialog::Close(int value) {
  result = value;
  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(hwnd);
}

int FooterButtonHeight() { return ScaleDpi(34); }
int FooterButtonTop(int clientHeight) { return clientHeight - ScaleDpi(64) + (ScaleDpi(64) - ScaleDpi(34)) / 2; }

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* dialog = static_cast<Dialog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    dialog->hwnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
  }
  Dialog* dialog = DialogOf(window);
  if (dialog == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      dialog->OnCreate();
      return 0;
    case WM_DESTROY:
      dialog->closed = true;
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_PAINT:
      PaintDialog(*dialog);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      dialog->Close(-1);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        dialog->Close(-1);
      } else {
        dialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (dialog->OnOwnerDraw(message, lParam) || HandleOwnerDraw(message, lParam)) return TRUE;
      break;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(EditColours(reinterpret_cast<HDC>(wParam)));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunModal(Dialog& dialog, HWND owner, const std::wstring& title, int clientWidth, int clientHeight) {
  dialog.owner = owner;
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
  const int outerWidth = outer.right - outer.left;
  const int outerHeight = outer.bottom - outer.top;

  RECT reference = WorkArea();
  RECT bounds = reference;
  if (owner) {
    RECT ownerRect{};
    if (GetWindowRect(owner, &ownerRect)) reference = ownerRect;
    MONITORINFO monitor{sizeof(monitor)};
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) bounds = monitor.rcWork;
  }
  int x = reference.left + (reference.right - reference.left - outerWidth) / 2;
  int y = reference.top + (reference.bottom - reference.top - outerHeight) / 2;
  x = std::max<int>(bounds.left, std::min<int>(bounds.right - outerWidth, x));
  y = std::max<int>(bounds.top, std::min<int>(bounds.bottom - outerHeight, y));

  HWND window = CreateWindowExW(kExStyle, L"ZelQuillonPE.Dialog", title.c_str(), kStyle, x, y, outerWidth, outerHeight,
                                owner, nullptr, UiInstance(), &dialog);
  if (window == nullptr) return -1;
  RECT client{};
  GetClientRect(window, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    SetWindowPos(window, nullptr, 0, 0, outerWidth + clientWidth - client.right,
                 outerHeight + clientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplyTitleBarStyle(window);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  if (HWND focus = dialog.InitialFocus()) SetFocus(focus);

  MSG msg;
  while (!dialog.closed) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
      break;
    }
    if (got == -1) break;
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (!dialog.closed) dialog.Close(-1);
  if (owner) SetForegroundWindow(owner);
  return dialog.result;
}

}  // namespace ui
