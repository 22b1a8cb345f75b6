// A list of rows (with group titles) to pick from, the actions on the selected
// row in a column beside it, and Close. The list is a system list box drawn by
// us, so the keyboard, the wheel and the scroll bar behave as everywhere else;
// each row's text is also the item's string, for screen readers and UI automation.
#include <algorithm>

#include "ui/controls_win.h"
#include "ui/dialog_win.h"
#include "ui/dialogs_win.h"

namespace ui {
namespace {

constexpr int kWidth = 800, kListHeight = 330, kColumnWidth = 232;

class ListDialogImpl final : public Dialog {
 public:
  explicit ListDialogImpl(ListSpec& list) : list_(list) {
    clientWidth = ScaleDpi(kWidth);
    const int m = ScaleDpi(22);
    descriptionHeight_ =
        list_.description.empty() ? 0 : MeasureTextHeight(list_.description, Regular12, clientWidth - 2 * m);
    listTop_ = m + (descriptionHeight_ > 0 ? descriptionHeight_ + ScaleDpi(14) : 0);
    clientHeight = listTop_ + ScaleDpi(kListHeight) + ScaleDpi(16) + ScaleDpi(64);
  }

  int clientWidth = 0;
  int clientHeight = 0;

  void OnCreate() override {
    const int m = ScaleDpi(22);
    const int columnLeft = clientWidth - m - ScaleDpi(kColumnWidth);
    listRect_ = Rect{m, listTop_, columnLeft - ScaleDpi(12), listTop_ + ScaleDpi(kListHeight)};
    box_ = CreateWindowExW(0, L"LISTBOX", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS |
                               LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListBoxId)), UiInstance(),
                           nullptr);
    // Inside the painted border.
    MoveWindow(box_, listRect_.left + 1, listRect_.top + 1, listRect_.Width() - 2, listRect_.Height() - 2, FALSE);
    // Rows are added in order, so an item's index is its row.
    for (const ListRow& row : list_.rows) {
      const std::wstring text = row.details.empty() ? row.title : row.title + L" \u2014 " + row.details;
      SendMessageW(box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    ButtonStyle style;
    style.surface = 2;
    style.font = Semibold12;
    style.leftAligned = true;
    int y = listTop_;
    for (size_t i = 0; i < list_.actions.size(); ++i) {
      style.icon = list_.actions[i].icon;
      HWND button = CreateOwnerButton(hwnd, kListFirstActionId + static_cast<int>(i), list_.actions[i].text, style);
      MoveWindow(button, columnLeft, y, ScaleDpi(kColumnWidth), ScaleDpi(34), FALSE);
      actions_.push_back(button);
      y += ScaleDpi(34) + ScaleDpi(8);
    }
    ButtonStyle close;
    close.variant = ButtonVariant::Default;
    close.surface = 3;
    close.font = Semibold12;
    HWND closeButton = CreateOwnerButton(hwnd, IDCANCEL, list_.closeText, close);
    const int closeWidth = std::max(ScaleDpi(110), MeasureTextWidth(list_.closeText, Semibold12).width + ScaleDpi(34));
    MoveWindow(closeButton, clientWidth - ScaleDpi(20) - closeWidth, FooterButtonTop(clientHeight), closeWidth,
               FooterButtonHeight(), FALSE);

    Select(list_.selected >= 0 ? list_.selected : FirstRow(0, +1));
  }

  void OnPaint(Canvas& canvas, int, int) override {
    const Palette& p = CurrentPalette();
    const int m = ScaleDpi(22);
    if (descriptionHeight_ > 0) {
      canvas.DrawText(list_.description, Rect{m, m, clientWidth - m, m + descriptionHeight_}, Regular12, p.MutedText,
                      kWrapped);
    }
    canvas.FillRoundRect(listRect_, ScaleDpi(4), p.Input, GetFocus() == box_ ? Accent : p.Border, 1, 255, 255);
    if (list_.rows.empty()) {
      const Rect inner{listRect_.left + ScaleDpi(16), listRect_.top, listRect_.right - ScaleDpi(16), listRect_.bottom};
      canvas.DrawText(list_.emptyText, inner, Regular12, p.MutedText, kSingleLineCentred);
    }
  }

  bool OnOwnerDraw(UINT message, LPARAM lParam) override {
    if (message == WM_MEASUREITEM) {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item.CtlID != kListBoxId) return false;
      const size_t row = item.itemID;
      item.itemHeight = static_cast<UINT>(row < list_.rows.size() && list_.rows[row].header ? ScaleDpi(30) : ScaleDpi(50));
      return true;
    }
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlID != kListBoxId) return false;
    if (item.itemID < list_.rows.size()) PaintRow(item);
    return true;
  }

  void OnCommand(int id, int notification) override {
    if (id == kListBoxId) {
      if (notification == LBN_SELCHANGE) {
        const int row = static_cast<int>(SendMessageW(box_, LB_GETCURSEL, 0, 0));
        Select(IsHeader(row) ? FirstRow(row, row < list_.selected ? -1 : +1) : row);
      } else if (notification == LBN_DBLCLK) {
        RunDefault();
      } else if (notification == LBN_SETFOCUS || notification == LBN_KILLFOCUS) {
        RECT r = ToRECT(listRect_);
        InvalidateRect(hwnd, &r, FALSE);  // the focus border
      }
      return;
    }
    if (id == IDOK) {
      RunDefault();
      return;
    }
    const int action = id - kListFirstActionId;
    if (action >= 0 && action < static_cast<int>(actions_.size()) && notification == BN_CLICKED && Enabled(action)) {
      Close(action);
    }
  }

  HWND InitialFocus() override { return list_.rows.empty() && !actions_.empty() ? actions_.front() : box_; }

 private:
  bool IsHeader(int row) const {
    return row >= 0 && row < static_cast<int>(list_.rows.size()) && list_.rows[static_cast<size_t>(row)].header;
  }
  // The first selectable row from `start` in direction `step`, else the other way; -1 when none.
  int FirstRow(int start, int step) const {
    const int count = static_cast<int>(list_.rows.size());
    for (int s : {step, -step}) {
      for (int row = start; row >= 0 && row < count; row += s) {
        if (!IsHeader(row)) return row;
      }
    }
    return -1;
  }
  bool Enabled(int action) const { return !list_.enabled || list_.enabled(action, list_.selected); }

  void Select(int row) {
    list_.selected = row >= 0 && row < static_cast<int>(list_.rows.size()) ? row : -1;
    SendMessageW(box_, LB_SETCURSEL, static_cast<WPARAM>(list_.selected), 0);
    for (size_t i = 0; i < actions_.size(); ++i) EnableWindow(actions_[i], Enabled(static_cast<int>(i)));
  }

  void RunDefault() {
    for (size_t i = 0; i < actions_.size(); ++i) {
      if (Enabled(static_cast<int>(i))) {
        Close(static_cast<int>(i));
        return;
      }
    }
  }

  void PaintRow(const DRAWITEMSTRUCT& item) {
    const int w = item.rcItem.right - item.rcItem.left;
    const int h = item.rcItem.bottom - item.rcItem.top;
    if (w <= 0 || h <= 0) return;
    const ListRow& row = list_.rows[item.itemID];
    const Palette& p = CurrentPalette();
    Canvas canvas(w, h);
    canvas.FillRect(Rect{0, 0, w, h}, p.Input);
    const int pad = ScaleDpi(12);
    if (row.header) {
      canvas.DrawText(row.title, Rect{pad, ScaleDpi(8), w - pad, h}, Semibold11, p.MutedText, kSingleLine);
      canvas.Present(item.hDC, item.rcItem.left, item.rcItem.top);
      return;
    }
    if (item.itemState & ODS_SELECTED) {
      const bool focused = GetFocus() == box_;
      canvas.FillRoundRect(Rect{ScaleDpi(4), ScaleDpi(2), w - ScaleDpi(4), h - ScaleDpi(2)}, ScaleDpi(6), p.Pressed,
                           focused ? Accent : kNoColour, 1, 255, 255);
    }
    int right = w - pad;
    if (!row.badge.empty()) {
      const int badgeWidth = MeasureTextWidth(row.badge, Semibold11).width + 2 * ScaleDpi(8);
      const Rect badge{right - badgeWidth, ScaleDpi(8), right, ScaleDpi(8) + ScaleDpi(18)};
      canvas.FillRoundRect(badge, ScaleDpi(6), row.badgeColour, row.badgeColour, 1, 36, 96);
      canvas.DrawText(row.badge, badge, Semibold11, row.badgeColour, kSingleLineCentred);
      right = badge.left - ScaleDpi(8);
    }
    canvas.DrawText(row.title, Rect{pad, ScaleDpi(6), right, ScaleDpi(6) + ScaleDpi(22)}, Semibold12, p.Text, kSingleLine);
    canvas.DrawText(row.details, Rect{pad, ScaleDpi(26), w - pad, ScaleDpi(26) + ScaleDpi(18)}, Regular12, p.MutedText,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    canvas.Present(item.hDC, item.rcItem.left, item.rcItem.top);
  }

  ListSpec& list_;
  int descriptionHeight_ = 0;
  int listTop_ = 0;
  Rect listRect_;
  HWND box_ = nullptr;
  std::vector<HWND> actions_;
};

}  // namespace

int ShowList(HWND owner, ListSpec& list) {
  ListDialogImpl dialog(list);
  return RunModal(dialog, owner, list.title, dialog.clientWidth, dialog.clientHeight);
}

}  // namespace ui
