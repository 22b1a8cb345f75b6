// Ctrl+Z: the store back to what it was before this session's last change,
// from the automatic backup taken just before it.
#include <windows.h>

#include "app/actions.h"
#include "app/jobs_win.h"
#include "core/bcd_backup.h"
#include "core/text.h"
#include "ui/language.h"
#include "ui/views/main_texts.h"

namespace app {

using zel::Pick;

void ActionUndo() {
  const AppState::LastChange last = State().lastChange;
  if (last.backup.empty()) {
    ShowInfo(Pick(L"Không có gì để hoàn tác", L"Nothing to undo"),
             Pick(L"Chưa có thay đổi nào trong phiên làm việc này.", L"No change has been made in this session."));
    return;
  }
  if (!zel::EqualsNoCase(State().loadedStorePath, last.store)) {
    ShowInfo(Pick(L"Hoàn tác thay đổi gần nhất", L"Undo the last change"),
             Pick(L"Thay đổi gần nhất (", L"The last change (") + last.description +
                 Pick(L") được thực hiện trên ", L") was made to ") + ui::StoreDisplayName(last.store) +
                 Pick(L". Hãy chọn kho BCD đó trước.", L". Select that store first."));
    return;
  }
  const std::wstring question =
      Pick(L"Đưa kho BCD về trạng thái trước thay đổi gần nhất trong phiên này?\r\n\r\nThay đổi: ",
           L"Restore the store to what it was before the last change of this session?\r\n\r\nChange: ") +
      last.description + Pick(L"\r\nBản sao lưu ngay trước đó: ", L"\r\nBackup taken just before it: ") + last.backup +
      Pick(L"\r\n\r\nKho BCD hiện tại sẽ được sao lưu trước, nên có thể hoàn tác lại thao tác này.",
           L"\r\n\r\nThe store as it is now is backed up first, so this can be undone in turn.");
  if (!AskConfirm(Pick(L"Hoàn tác thay đổi gần nhất", L"Undo the last change"), question, Pick(L"Hoàn tác", L"Undo"),
                  ui::MessageKind::Warning, true)) {
    return;
  }
  const std::wstring backup = last.backup;
  ExecuteChange(Pick(L"Hoàn tác: ", L"Undo: ") + last.description,
                [backup](const std::wstring& store, zel::Fault& fault) {
                  return zel::ImportStore(store, backup, fault);
                },
                true);
}

}  // namespace app
