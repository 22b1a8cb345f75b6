#include "ui/views/entries_view_win.h"

#include <windowsx.h>

#include "core/text.h"
#include "ui/canvas_win.h"
#include "ui/theme_win.h"

namespace ui {

static_assert(static_cast<int>(TextFont::Semibold11) == Semibold11 && static_cast<int>(TextFont::Regular12) == Regular12 &&
                  static_cast<int>(TextFont::Semibold12) == Semibold12 &&
                  static_cast<int>(TextFont::Semibold13) == Semibold13 && static_cast<int>(TextFont::Bold15) == Bold15 &&
                  static_cast<int>(TextFont::Bold17) == Bold17,
              "the portable font numbers must be the FontSlot numbers");

namespace {

struct EntriesView {
  HWND hwnd = nullptr;
  EntriesHost host;
  EntriesState state;
};

const zel::BcdSnapshot& SnapshotOf(const EntriesView& view) {
  static const zel::BcdSnapshot nothingLoaded;
  return view.host.snapshot ? *view.host.snapshot : nothingLoaded;
}

bool IsBusy(const EntriesView& view) { return view.host.busy && *view.host.busy; }

std::wstring SelectedId(const EntriesView& view) {
  return view.host.selectedEntryId ? *view.host.selectedEntryId : std::wstring();
}

void Select(EntriesView& view, const std::wstring& id) {
  if (!view.host.selectedEntryId || *view.host.selectedEntryId == id) return;
  *view.host.selectedEntryId = id;
  if (view.host.onSelectionChanged) view.host.onSelectionChanged();
}

EntriesView* ViewOf(HWND window) { return reinterpret_cast<EntriesView*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

const TextMeasure& GdiMeasure() {
  static const TextMeasure measure{
      [](const std::wstring& text, TextFont font) { return MeasureTextWidth(text, static_cast<FontSlot>(font)).width; },
      [](const std::wstring& text, TextFont font, int width) {
        return MeasureTextHeight(text, static_cast<FontSlot>(font), width);
      }};
  return measure;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

Rect Track(SIZE client) {
  return Rect{client.cx - ScaleDpi(13), ScaleDpi(6), client.cx - ScaleDpi(7), client.cy - ScaleDpi(6)};
}

Rect Scrolled(Rect r, int scrollPos) { return Rect{r.left, r.top - scrollPos, r.right, r.bottom - scrollPos}; }

void Relayout(EntriesView& view) {
  const SIZE client = ClientSize(view.hwnd);
  ApplyLayout(view.state, LayoutEntries(SnapshotOf(view), client.cx, GdiMeasure(), view.host.loadError ? *view.host.loadError : L""), client.cy);
  InvalidateRect(view.hwnd, nullptr, FALSE);
}

// ---- painting -------------------------------------------------------------

void PaintBadge(Canvas& canvas, const Badge& badge, int scrollPos) {
  const Rect r = Scrolled(badge.rect, scrollPos);
  canvas.FillRoundRect(r, ScaleDpi(6), badge.colour, badge.colour, 1, 36, 96);
  int x = r.left + ScaleDpi(8);
  if (badge.icon != 0) {
    const int side = ScaleDpi(11);
    canvas.DrawIcon(badge.icon, x, r.top + (r.Height() - side) / 2, side, badge.colour);
    x += side + ScaleDpi(4);
  }
  canvas.DrawText(badge.text, Rect{x, r.top, r.right, r.bottom}, Semibold11, badge.colour, kSingleLine);
}

void PaintButton(Canvas& canvas, const CardButton& button, Rect r, bool hovered, bool pressed, Colour cardFill,
                 const Palette& p) {
  const int radius = ScaleDpi(8);
  Colour text = p.Text;
  if (button.danger) {
    if (hovered) {
      canvas.FillRoundRect(r, radius, Danger, kNoColour, 1, 255, 255);
      text = White;
    } else {
      canvas.FillRoundRect(r, radius, Danger, Danger, 1, 32, 85);
      text = Danger;
    }
  } else if (!button.enabled) {
    canvas.FillRoundRect(r, radius, p.Surface, p.Border, 1, 128, 128);
    text = Blend(cardFill, p.MutedText, 112);
  } else {
    const Colour border = hovered ? Blend(p.Border, p.Text, 64) : p.Border;
    const Colour fill = pressed ? p.Pressed : hovered ? p.Hover : p.Surface;
    canvas.FillRoundRect(r, radius, fill, border, 1, 255, 255);
  }
  if (!button.text.empty()) {
    const int side = ScaleDpi(13);
    const int x = r.left + ScaleDpi(9);
    canvas.DrawIcon(button.icon, x, r.top + (r.Height() - side) / 2, side, text);
    canvas.DrawText(button.text, Rect{x + side + ScaleDpi(5), r.top, r.right - ScaleDpi(4), r.bottom}, Semibold12, text,
                    kSingleLine);
  } else {
    const int side = ScaleDpi(14);
    canvas.DrawIcon(button.icon, r.left + (r.Width() - side) / 2, r.top + (r.Height() - side) / 2, side, text);
  }
}

void PaintCard(Canvas& canvas, const EntriesView& view, int cardIndex, const Palette& p) {
  const EntriesState& s = view.state;
  const EntryCard& card = s.layout.cards[static_cast<size_t>(cardIndex)];
  const int pos = s.scroll.scrollPos;
  const zel::BootEntry& entry = SnapshotOf(view).entries[static_cast<size_t>(card.entryIndex)];
  const bool selected = zel::EqualsNoCase(entry.identifier, SelectedId(view));
  const Colour cardFill = selected ? p.Pressed : p.Surface;
  canvas.FillRoundRect(Scrolled(card.cardRect, pos), ScaleDpi(11), cardFill, selected ? Accent : p.Border,
                       selected ? ScaleDpi(2) : 1, 255, 255);

  const Rect icon = Scrolled(card.iconRect, pos);
  canvas.FillRoundRect(icon, ScaleDpi(10), card.kindColour, card.kindColour, 1, 36, 96);
  const int iconSide = ScaleDpi(18);
  canvas.DrawIcon(card.kindIcon, icon.left + (icon.Width() - iconSide) / 2, icon.top + (icon.Height() - iconSide) / 2,
                  iconSide, card.kindColour);

  canvas.DrawText(card.title, Scrolled(card.titleRect, pos), Bold15, p.Text, kSingleLine);
  for (const Badge& badge : card.badges) PaintBadge(canvas, badge, pos);
  canvas.DrawText(card.details, Scrolled(card.detailsRect, pos), Regular12, p.MutedText, kSingleLine);

  for (size_t b = 0; b < card.buttons.size(); ++b) {
    const CardButton& button = card.buttons[b];
    const CardHit here{cardIndex, static_cast<int>(b)};
    const bool hovered = button.enabled && s.hover == here;
    const bool pressed = hovered && s.pressed == here;
    PaintButton(canvas, button, Scrolled(button.rect, pos), hovered, pressed, cardFill, p);
  }
}

void PaintEntries(const EntriesView& view, HDC dc) {
  const SIZE client = ClientSize(view.hwnd);
  const Palette& p = CurrentPalette();
  const EntriesState& s = view.state;
  Canvas canvas(client.cx, client.cy);
  canvas.FillRect(Rect{0, 0, client.cx, client.cy}, p.Background);

  const int pos = s.scroll.scrollPos;
  canvas.DrawText(ListTitleText(), Scrolled(s.layout.listTitleRect, pos), Bold17, p.Text, kSingleLine);
  canvas.DrawText(ListSubtitleText(), Scrolled(s.layout.listSubtitleRect, pos), Regular12, p.MutedText, kSingleLine);

  if (!s.layout.messageText.empty()) {
    const Colour box = s.layout.messageIsError ? Danger : Accent;
    const Rect r = Scrolled(s.layout.messageRect, pos);
    canvas.FillRoundRect(r, ScaleDpi(10), box, box, 1, 24, 96);
    const int inset = ScaleDpi(20);
    canvas.DrawText(s.layout.messageText, Rect{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset},
                    Semibold13, s.layout.messageIsError ? Danger : p.Text, kWrapped);
  }

  for (size_t c = 0; c < s.layout.cards.size(); ++c) {
    const Rect r = Scrolled(s.layout.cards[c].cardRect, pos);
    if (r.bottom <= 0 || r.top >= client.cy) continue;
    PaintCard(canvas, view, static_cast<int>(c), p);
  }

  if (s.scroll.contentHeight > s.scroll.viewHeight) {
    const Rect track = Track(client);
    canvas.FillRoundRect(ThumbRect(s.scroll, track), track.Width() / 2,
                         Blend(p.Border, p.MutedText, s.scroll.dragging ? 208 : 128), kNoColour, 1, 255, 255);
  }
  canvas.Present(dc, 0, 0);
}

// ---- input ------------------------------------------------------------------

void Repaint(const EntriesView& view) { InvalidateRect(view.hwnd, nullptr, FALSE); }

void EnsureVisible(EntriesView& view, const std::wstring& id) {
  if (ui::EnsureVisible(view.state.layout, SnapshotOf(view), view.state.scroll, id)) Repaint(view);
}

void MoveSelection(EntriesView& view, int delta, bool toEnd) {
  const std::wstring id = ui::MoveSelection(SnapshotOf(view), SelectedId(view), delta, toEnd);
  if (id.empty()) return;
  Select(view, id);
  Repaint(view);
  EnsureVisible(view, id);
}

bool OnKeyDown(EntriesView& view, WPARAM key) {
  ListScroll& scroll = view.state.scroll;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT: {
      const int page = PageStep(ClientSize(view.hwnd).cy);
      if (scroll.ScrollTo(scroll.scrollPos + (key == VK_PRIOR ? -page : page))) Repaint(view);
      return true;
    }
    case VK_HOME:
      MoveSelection(view, -1, true);
      return true;
    case VK_END:
      MoveSelection(view, +1, true);
      return true;
    case VK_UP:
      MoveSelection(view, -1, false);
      return true;
    case VK_DOWN:
      MoveSelection(view, +1, false);
      return true;
  }
  return false;
}

void OnMouseMove(EntriesView& view, Point point) {
  EntriesState& s = view.state;
  if (s.scroll.dragging) {
    if (DragThumb(s.scroll, point, Track(ClientSize(view.hwnd)))) Repaint(view);
    return;
  }
  if (!s.mouseTracked) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, view.hwnd, 0};
    if (TrackMouseEvent(&track)) s.mouseTracked = true;
  }
  const CardHit hit = HitTest(s.layout, s.scroll.scrollPos, point.x, point.y);
  if (hit != s.hover) {
    s.hover = hit;
    Repaint(view);
  }
}

void OnButtonDown(EntriesView& view, Point point, bool doubleClick) {
  EntriesState& s = view.state;
  SetFocus(view.hwnd);
  if (PressThumb(s.scroll, point, Track(ClientSize(view.hwnd)))) {
    SetCapture(view.hwnd);
    Repaint(view);
    return;
  }
  if (IsBusy(view)) return;
  const CardHit hit = HitTest(s.layout, s.scroll.scrollPos, point.x, point.y);
  if (hit.card < 0) return;
  const EntryCard& card = s.layout.cards[static_cast<size_t>(hit.card)];
  Select(view, SnapshotOf(view).entries[static_cast<size_t>(card.entryIndex)].identifier);
  Repaint(view);
  if (hit.button >= 0) {
    // A disabled button only selects its card.
    if (card.buttons[static_cast<size_t>(hit.button)].enabled) {
      s.pressed = hit;
      SetCapture(view.hwnd);
    }
  } else if (doubleClick && view.host.onAction) {
    view.host.onAction(CardAction::Rename);
  }
}

void OnButtonUp(EntriesView& view, Point point) {
  EntriesState& s = view.state;
  if (s.scroll.dragging) {
    s.scroll.dragging = false;
    ReleaseCapture();
    Repaint(view);
    return;
  }
  if (s.pressed.card < 0) return;
  // Only a release over the very button that was pressed counts.
  const CardHit hit = HitTest(s.layout, s.scroll.scrollPos, point.x, point.y);
  CardAction action = CardAction::None;
  if (hit == s.pressed && hit.button >= 0) {
    action = s.layout.cards[static_cast<size_t>(hit.card)].buttons[static_cast<size_t>(hit.button)].action;
  }
  s.pressed = CardHit{};
  ReleaseCapture();
  Repaint(view);
  // Last: the handler may open a modal dialog or replace the snapshot.
  if (action != CardAction::None && !IsBusy(view) && view.host.onAction) view.host.onAction(action);
}

Point PointOf(LPARAM lParam) { return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LRESULT CALLBACK EntriesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = new EntriesView;
    created->hwnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  EntriesView* view = ViewOf(window);
  if (view == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  EntriesState& s = view->state;
  switch (message) {
    case WM_SIZE:
      Relayout(*view);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      PaintEntries(*view, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      // While busy the main window's wait cursor stays.
      if (!IsBusy(*view) && LOWORD(lParam) == HTCLIENT && s.hover.card >= 0) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (OnKeyDown(*view, wParam)) return 0;
      break;
    case WM_MOUSEWHEEL:
      if (s.scroll.ScrollTo(s.scroll.scrollPos - WheelStep(GET_WHEEL_DELTA_WPARAM(wParam)))) Repaint(*view);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(*view, PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      s.mouseTracked = false;
      if (s.hover.card >= 0) {
        s.hover = CardHit{};
        Repaint(*view);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(*view, PointOf(lParam), message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(*view, PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      s.scroll.dragging = false;
      s.pressed = CardHit{};
      Repaint(*view);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete view;
      return DefWindowProcW(window, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterEntriesClass(HINSTANCE instance) {
  WNDCLASSEXW cls{sizeof(cls)};
  cls.style = CS_DBLCLKS;
  cls.lpfnWndProc = EntriesProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = kEntriesClassName;
  return RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateEntriesList(HWND parent, int id) {
  return CreateWindowExW(0, kEntriesClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), UiInstance(), nullptr);
}

void SetEntriesHost(HWND list, const EntriesHost& host) {
  EntriesView* view = ViewOf(list);
  if (!view) return;
  view->host = host;
  Relayout(*view);
}

void LayoutEntries(HWND list) {
  if (EntriesView* view = ViewOf(list)) Relayout(*view);
}

void EnsureVisible(HWND list, const std::wstring& id) {
  if (EntriesView* view = ViewOf(list)) EnsureVisible(*view, id);
}

const EntriesState* EntriesStateOf(HWND list) {
  wchar_t name[32] = {};
  if (!GetClassNameW(list, name, 32) || !zel::EqualsNoCase(name, kEntriesClassName)) return nullptr;
  const EntriesView* view = ViewOf(list);
  return view ? &view->state : nullptr;
}

}  // namespace ui
