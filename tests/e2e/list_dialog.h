#pragma once
// The program's list dialogs (backup history, firmware boot order) seen from
// outside: the rows' texts, choosing a row, pressing an action.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/dialogs_win.h"

namespace zel::test {

using ui::kListBoxId, ui::kListFirstActionId;

// Each row's text as the list box holds it (title, then " — " and the details).
inline std::vector<std::wstring> ListRows(HWND dialog) {
  HWND box = GetDlgItem(dialog, kListBoxId);
  std::vector<std::wstring> rows;
  const LRESULT count = SendMessageW(box, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(box, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(text);
  }
  return rows;
}

// Selects `row` as a click would, then presses action `action`.
inline void ChooseRow(HWND dialog, int row, int action) {
  HWND box = GetDlgItem(dialog, kListBoxId);
  SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListBoxId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListFirstActionId + action, BN_CLICKED), 0);
}

}  // namespace zel::test
