#include "ui/controls_win.h"

#include <algorithm>
#include <unordered_map>

#include "ui/canvas_win.h"
#include "ui/icon_table.h"

namespace ui {
namespace {

struct ButtonState {
  ButtonStyle style;
  bool hovered = false;
  bool checked = false;
  WNDPROC previous = nullptr;
};

std::unordered_map<HWND, ButtonState>& Buttons() {
  static std::unordered_map<HWND, ButtonState> buttons;
  return buttons;
}

ButtonState* StateOf(HWND button) {
  auto found = Buttons().find(button);
  return found == Buttons().end() ? nullptr : &found->second;
}

struct StoreMenu {
  const std::vector<std::wstring>* items = nullptr;
  int current = -1;
  int minimumWidth = 0;
} g_storeMenu;

HBRUSH g_editBrush = nullptr;

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* state = StateOf(window);
  if (state == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC previous = state->previous;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      // The dialog manager turns Enter into a click only on a focused control that says it is the
      // default push button; any other focus gets IDOK. So a push button says so while it has the
      // focus, and Enter presses the button the user is on, never another (Cancel included).
      // Enter on a check box or a segment is OK, as anywhere else in the form.
      if (state->style.variant == ButtonVariant::CheckBox || state->style.variant == ButtonVariant::Segment) {
        return DLGC_BUTTON;
      }
      return DLGC_BUTTON | (GetFocus() == window ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_GETCHECK:  // what screen readers and UI automation ask an owner-drawn box
      return state->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETSTYLE:
      return 0;  // keep BS_OWNERDRAW: the dialog manager would make it a standard default button
    case WM_MOUSEMOVE:
      if (!state->hovered) {
        state->hovered = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      state->hovered = false;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_LBUTTONDBLCLK:
      // A fast second click is a second click, not a double click the button ignores.
      return CallWindowProcW(previous, window, WM_LBUTTONDOWN, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      Buttons().erase(window);
      break;
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

void DrawCheckBox(Canvas& canvas, const ButtonLook& look, const ButtonStyle& style, ButtonFlags flags, bool checked,
                  const std::wstring& text) {
  const Palette& p = CurrentPalette();
  const int h = canvas.Height();
  const int b = ScaleDpi(18);
  const Rect box{0, (h - b) / 2, b, (h - b) / 2 + b};
  const bool hovered = flags.hovered && !flags.disabled;
  if (checked) {
    canvas.FillRoundRect(box, ScaleDpi(5), flags.disabled ? Blend(look.background, Accent, 112) : Accent,
                         flags.focusRing ? p.Text : kNoColour, 1, 255, 255);
    canvas.DrawIcon(kIconCheck, ScaleDpi(2), box.top + ScaleDpi(2), b - ScaleDpi(4), White);
  } else {
    canvas.FillRoundRect(box, ScaleDpi(5), p.Input, (flags.focusRing || hovered) ? Accent : Blend(p.Border, p.Text, 80),
                         1, 255, 255);
  }
  canvas.DrawText(text, Rect{b + ScaleDpi(8), 0, canvas.Width(), h}, static_cast<FontSlot>(style.font), look.text,
                  kSingleLine);
}

void PaintButton(const DRAWITEMSTRUCT& item, const ButtonState& state) {
  const int w = item.rcItem.right - item.rcItem.left;
  const int h = item.rcItem.bottom - item.rcItem.top;
  if (w <= 0 || h <= 0) return;
  ButtonFlags flags;
  flags.pressed = (item.itemState & ODS_SELECTED) != 0;
  flags.hovered = state.hovered;
  flags.focusRing = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
  flags.disabled = (item.itemState & ODS_DISABLED) != 0;
  Canvas canvas(w, h);
  DrawButtonFace(canvas, state.style, flags, state.checked, GetWindowTextString(item.hwndItem));
  canvas.Present(item.hDC, item.rcItem.left, item.rcItem.top);
}

const std::wstring* StoreMenuText(ULONG_PTR data) {
  if (g_storeMenu.items == nullptr || data >= g_storeMenu.items->size()) return nullptr;
  return &(*g_storeMenu.items)[data];
}

void MeasureMenuItem(MEASUREITEMSTRUCT& item) {
  const std::wstring* text = StoreMenuText(item.itemData);
  int width = (text ? MeasureTextWidth(*text, Semibold12).width : 0) + ScaleDpi(52);
  width = std::max(width, g_storeMenu.minimumWidth) - ScaleDpi(6) - GetSystemMetrics(SM_CXMENUCHECK);
  item.itemWidth = static_cast<UINT>(std::max(width, ScaleDpi(120)));
  item.itemHeight = static_cast<UINT>(ScaleDpi(32));
}

void PaintMenuItem(const DRAWITEMSTRUCT& item) {
  const int w = item.rcItem.right - item.rcItem.left;
  const int h = item.rcItem.bottom - item.rcItem.top;
  if (w <= 0 || h <= 0) return;
  const Palette& p = CurrentPalette();
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool current = static_cast<int>(item.itemData) == g_storeMenu.current;
  Canvas canvas(w, h);
  canvas.FillRect(Rect{0, 0, w, h}, p.Surface);
  if (selected || current) {
    canvas.FillRoundRect(Rect{ScaleDpi(3), ScaleDpi(1), w - ScaleDpi(3), h - ScaleDpi(1)}, ScaleDpi(6),
                         selected ? p.Hover : p.Pressed, kNoColour, 1, 255, 255);
  }
  if (const std::wstring* text = StoreMenuText(item.itemData)) {
    canvas.DrawText(*text, Rect{ScaleDpi(12), 0, w - ScaleDpi(14) - ScaleDpi(16), h}, current ? Semibold12 : Regular12,
                    p.Text, kSingleLine);
  }
  if (current) canvas.DrawIcon(kIconCheck, w - ScaleDpi(10) - ScaleDpi(14), (h - ScaleDpi(14)) / 2, ScaleDpi(14), Accent);
  canvas.Present(item.hDC, item.rcItem.left, item.rcItem.top);
}

}  // namespace

void DrawButtonFace(Canvas& canvas, const ButtonStyle& style, ButtonFlags flags, bool checked, const std::wstring& text) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  const Palette& p = CurrentPalette();
  flags.selected = checked;
  const ButtonLook look = ResolveButtonLook(style, flags, p);
  canvas.FillRect(Rect{0, 0, w, h}, look.background);
  if (look.fill != kNoColour || look.border != kNoColour) {
    canvas.FillRoundRect(Rect{0, 0, w, h}, ScaleDpi(8), look.fill, look.border, 1, 255, 255);
  }
  const auto font = static_cast<FontSlot>(style.font);
  if (style.variant == ButtonVariant::CheckBox) {
    DrawCheckBox(canvas, look, style, flags, checked, text);
  } else if (style.variant == ButtonVariant::DropDown) {
    canvas.DrawText(text, Rect{ScaleDpi(11), 0, w - ScaleDpi(16) - ScaleDpi(14), h}, font, look.text, kSingleLine);
    const Colour chevron = Blend(look.background, p.MutedText, flags.disabled ? 112 : 255);
    canvas.DrawIcon(kIconChevronDown, w - ScaleDpi(16) - ScaleDpi(9), (h - ScaleDpi(16)) / 2, ScaleDpi(16), chevron);
  } else {
    const int iconSide = style.icon ? ScaleDpi(15) : 0;
    const int gap = (style.icon && !text.empty()) ? ScaleDpi(7) : 0;
    const int textWidth = text.empty() ? 0 : MeasureTextWidth(text, font).width;
    int x = style.leftAligned ? ScaleDpi(11) : std::max(ScaleDpi(6), (w - textWidth - gap - iconSide) / 2);
    if (style.icon) canvas.DrawIcon(style.icon, x, (h - ScaleDpi(15)) / 2, ScaleDpi(15), look.text);
    x += iconSide + gap;
    canvas.DrawText(text, Rect{x, 0, w - ScaleDpi(6), h}, font, look.text, kSingleLine);
  }
}

HWND CreateOwnerButton(HWND parent, int id, const std::wstring& text, const ButtonStyle& style) {
  HWND button = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0,
                                0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), UiInstance(), nullptr);
  if (button == nullptr) return nullptr;
  ButtonState state;
  state.style = style;
  state.previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_WNDPROC));
  Buttons()[button] = state;
  SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc));
  return button;
}

void SetChecked(HWND button, bool checked) {
  ButtonState* state = StateOf(button);
  if (state == nullptr || state->checked == checked) return;
  state->checked = checked;
  InvalidateRect(button, nullptr, FALSE);
}

bool ButtonStyleOf(HWND button, ButtonStyle& style) {
  const ButtonState* state = StateOf(button);
  if (state != nullptr) style = state->style;
  return state != nullptr;
}

bool IsChecked(HWND button) {
  const ButtonState* state = StateOf(button);
  return state != nullptr && state->checked;
}

void SetButtonIcon(HWND button, int icon) {
  ButtonState* state = StateOf(button);
  if (state == nullptr) return;
  state->style.icon = icon;
  InvalidateRect(button, nullptr, FALSE);
}

int ButtonNaturalWidth(HWND button) {
  const ButtonState* state = StateOf(button);
  if (state == nullptr) return ScaleDpi(80);
  const std::wstring text = GetWindowTextString(button);
  const int textWidth = text.empty() ? 0 : MeasureTextWidth(text, static_cast<FontSlot>(state->style.font)).width;
  if (state->style.variant == ButtonVariant::CheckBox) return ScaleDpi(18) + ScaleDpi(8) + ScaleDpi(4) + textWidth;
  int width = 2 * ScaleDpi(12) + textWidth;
  if (state->style.icon) width += ScaleDpi(15) + (text.empty() ? 0 : ScaleDpi(7));
  return width;
}

bool HandleOwnerDraw(UINT message, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_BUTTON) {
      const ButtonState* state = StateOf(item.hwndItem);
      if (state == nullptr) return false;
      PaintButton(item, *state);
      return true;
    }
    if (item.CtlType == ODT_MENU) {
      PaintMenuItem(item);
      return true;
    }
    return false;
  }
  if (message == WM_MEASUREITEM) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_MENU) return false;
    MeasureMenuItem(item);
    return true;
  }
  return false;
}

void SetStoreMenuItems(const std::vector<std::wstring>* items, int current, int minimumWidth) {
  g_storeMenu = StoreMenu{items, current, minimumWidth};
}

HBRUSH EditColours(HDC dc) {
  const Palette& p = CurrentPalette();
  SetTextColor(dc, p.Text);
  SetBkColor(dc, p.Input);
  if (g_editBrush == nullptr) g_editBrush = CreateSolidBrush(p.Input);
  return g_editBrush;
}

void ResetEditBrush() {
  if (g_editBrush) DeleteObject(g_editBrush);
  g_editBrush = nullptr;
}

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool done = false;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = GlobalLock(block)) {
      memcpy(target, text.c_str(), bytes);
      GlobalUnlock(block);
      done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;  // the clipboard owns the block from here
    }
    if (!done) GlobalFree(block);
  }
  CloseClipboard();
  return done;
}

std::wstring GetWindowTextString(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace ui
