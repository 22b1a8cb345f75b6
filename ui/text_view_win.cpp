#include "ui/text_view_win.h"

#include <algorithm>

#include "ui/canvas_win.h"
#include "ui/controls_win.h"
#include "ui/theme_win.h"

namespace ui {
namespace {

TextView* ViewOf(HWND window) { return reinterpret_cast<TextView*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

int LineHeight() { return std::max(2, FontHeight(Mono12)); }

Rect Track(int width, int height) {
  return Rect{width - ScaleDpi(11), ScaleDpi(6), width - ScaleDpi(5), height - ScaleDpi(6)};
}

RECT ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

void Paint(TextView& view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(view.hwnd, &ps);
  const RECT client = ClientRect(view.hwnd);
  const int w = client.right, h = client.bottom;
  const Palette& p = CurrentPalette();
  Canvas canvas(w, h);
  canvas.FillRect(Rect{0, 0, w, h}, SurfaceColour(p, view.surface));
  const bool focused = GetFocus() == view.hwnd;
  canvas.FillRoundRect(Rect{0, 0, w, h}, ScaleDpi(8), p.Input, focused ? Blend(p.Border, Accent, 160) : p.Border, 1,
                       255, 255);
  const ListScroll& scroll = view.content.scroll;
  const int right = w - ScaleDpi(10) - (scroll.contentHeight > scroll.viewHeight ? ScaleDpi(8) : 0);
  const int lh = LineHeight();
  int y = ScaleDpi(8);
  for (int row = scroll.scrollPos; row < scroll.scrollPos + scroll.viewHeight &&
                                   row < static_cast<int>(view.content.rows.size());
       ++row, y += lh) {
    const TextRow& r = view.content.rows[static_cast<size_t>(row)];
    const std::wstring& line = view.content.lines[static_cast<size_t>(r.line)];
    canvas.DrawText(line.substr(static_cast<size_t>(r.start), static_cast<size_t>(r.length)),
                    Rect{ScaleDpi(10), y, right, y + lh}, Mono12, p.Text, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  }
  if (scroll.contentHeight > scroll.viewHeight) {
    const Rect track = Track(w, h);
    canvas.FillRoundRect(ThumbRect(scroll, track), track.Width() / 2,
                         Blend(p.Border, p.MutedText, scroll.dragging ? 208 : 128), kNoColour, 1, 255, 255);
  }
  canvas.Present(dc, 0, 0);
  EndPaint(view.hwnd, &ps);
}

bool OnKey(TextView& view, WPARAM key) {
  ListScroll& scroll = view.content.scroll;
  switch (key) {
    case VK_UP:
      return scroll.ScrollTo(scroll.scrollPos - 1);
    case VK_DOWN:
      return scroll.ScrollTo(scroll.scrollPos + 1);
    case VK_PRIOR:
      return scroll.ScrollTo(scroll.scrollPos - scroll.viewHeight);
    case VK_NEXT:
      return scroll.ScrollTo(scroll.scrollPos + scroll.viewHeight);
    case VK_HOME:
      return scroll.ScrollTo(0);
    case VK_END:
      return scroll.ScrollTo(scroll.MaxScroll());
  }
  return false;
}

}  // namespace

LRESULT CALLBACK TextViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<TextView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    view->hwnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  }
  TextView* view = ViewOf(window);
  if (view == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const RECT client = ClientRect(window);
  const Rect track = Track(client.right, client.bottom);
  ListScroll& scroll = view->content.scroll;
  switch (message) {
    case WM_SIZE:
      Rewrap(view);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_PAINT:
      Paint(*view);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        CopyTextToClipboard(window, GetAllText(view));
        return 0;
      }
      if (OnKey(*view, wParam)) InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_MOUSEWHEEL: {
      const int step = (static_cast<short>(HIWORD(wParam)) * 3) / WHEEL_DELTA;
      if (scroll.ScrollTo(scroll.scrollPos - step)) InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(window);
      if (PressThumb(scroll, Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, track)) {
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (scroll.dragging &&
          DragThumb(scroll, Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, track)) {
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (scroll.dragging) {
        scroll.dragging = false;
        ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (scroll.dragging) {
        scroll.dragging = false;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (view->ownedByWindow) delete view;
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TextView* CreateTextView(HWND parent, int id) {
  auto* view = new TextView;
  HWND window = CreateWindowExW(0, L"ZelQuillonPE.TextView", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), UiInstance(), view);
  if (window == nullptr) {
    delete view;  // a window that failed half-way did not take it
    return nullptr;
  }
  view->ownedByWindow = true;
  return view;
}

void SetText(TextView* view, const std::wstring& text) { view->content.AppendText(text); }

std::wstring GetAllText(const TextView* view) { return view->content.AllText(); }

void Rewrap(TextView* view) {
  const RECT client = ClientRect(view->hwnd);
  const int charWidth = MeasureTextWidth(L"00000000000000000000", Mono12).width / 20;
  const int columns = (client.right - 2 * ScaleDpi(10) - ScaleDpi(12)) / std::max(charWidth, 1);
  const int visible = (client.bottom - 2 * ScaleDpi(8)) / LineHeight();
  view->content.Rewrap(columns, visible);
}

}  // namespace ui
