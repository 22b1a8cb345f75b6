// "Backup History": the automatic backups in the backup folder, newest first,
// each with the store it was taken of and the change that followed; restored
// through the usual restore, which is itself backed up first.
#include <windows.h>

#include "app/actions.h"
#include "app/command_log.h"
#include "app/jobs_win.h"
#include "core/backup_history.h"
#include "core/text.h"
#include "ui/dialogs_win.h"
#include "ui/icon_table.h"
#include "ui/language.h"
#include "ui/views/main_texts.h"

namespace app {
namespace {

using zel::Pick;

enum BackupAction { kRestore = 0, kBrowse = 1 };

ui::ListRow RowOf(const zel::BackupItem& item, bool efi) {
  ui::ListRow row;
  row.title = item.time + L"  \u2014  " +
              (item.description.empty() ? Pick(L"(không rõ thay đổi sau đó)", L"(the change that followed is not known)")
                                        : item.description);
  // An EFI snapshot has no store; a backup the index does not know has no known one.
  row.details = efi || !item.indexed ? item.name : ui::StoreDisplayName(item.storePath) + L"   \u2022   " + item.name;
  if (item.takenThisRun) {
    row.badge = Pick(L"Phiên này", L"This session");
    row.badgeColour = ui::Accent;
  }
  return row;
}

void ShowHistory(const zel::BackupList& list) {
  ui::ListSpec dialog;
  dialog.title = Pick(L"Lịch sử sao lưu", L"Backup History");
  dialog.description =
      Pick(L"Các bản sao lưu tự động trong ", L"The automatic backups in ") + list.folder +
      Pick(L", mới nhất trước. Khôi phục cũng được sao lưu trước, nên có thể hoàn tác (Ctrl+Z).",
           L", newest first. A restore is itself backed up first, so it can be undone (Ctrl+Z).");
  dialog.emptyText = Pick(L"Chưa có bản sao lưu tự động nào: mỗi thay đổi đều được sao lưu trước.",
                        L"No automatic backups yet: one is taken before every change.");
  // Each row's backup, or null for a group title.
  struct Item {
    const zel::BackupItem* backup;
    bool efi;
  };
  std::vector<Item> items;
  const auto group = [&](const std::vector<zel::BackupItem>& backups, const std::wstring& title, bool efi) {
    if (backups.empty()) return;
    dialog.rows.push_back(ui::ListRow{title + L" (" + std::to_wstring(backups.size()) + L")", L"", L"", 0, true});
    items.push_back(Item{nullptr, efi});
    for (const zel::BackupItem& item : backups) {
      dialog.rows.push_back(RowOf(item, efi));
      items.push_back(Item{&item, efi});
    }
  };
  group(list.stores, Pick(L"BẢN SAO LƯU KHO BCD", L"BCD STORE BACKUPS"), false);
  group(list.efi, Pick(L"BẢN SAO PHÂN VÙNG EFI", L"EFI PARTITION SNAPSHOTS"), true);
  dialog.actions = {{Pick(L"Khôi phục bản này", L"Restore This Backup"), ui::kIconUpload},
                  {Pick(L"Chọn file khác...", L"Browse Another File..."), ui::kIconFolder}};
  dialog.enabled = [&](int action, int row) {
    return action == kBrowse || (row >= 0 && items[static_cast<size_t>(row)].backup);
  };

  const int action = ui::ShowList(State().view.window, dialog);
  if (action == kBrowse) {
    ActionRestore();
    return;
  }
  if (action != kRestore || dialog.selected < 0) return;
  const Item chosen = items[static_cast<size_t>(dialog.selected)];
  const zel::BackupItem& item = *chosen.backup;
  if (chosen.efi) {
    RestoreEfiFrom(item.path);
    return;
  }
  // A backup of another store can still be restored here, but not without saying so.
  std::wstring note;
  if (item.indexed && !zel::EqualsNoCase(item.storePath, State().loadedStorePath)) {
    note = Pick(L"\r\n\r\nLưu ý: bản này được sao lưu từ ", L"\r\n\r\nNote: this backup was taken of ") +
           ui::StoreDisplayName(item.storePath) + Pick(L", không phải từ kho BCD đang mở (", L", not of the loaded store (") +
           ui::StoreDisplayName(State().loadedStorePath) + L").";
  }
  RestoreStoreFrom(item.path, note);
}

}  // namespace

void ActionBackups() {
  if (IsBusy()) return;
  RunInBackground<zel::BackupList>(Pick(L"Đang đọc danh sách sao lưu...", L"Reading the backups..."),
                                   [] { return zel::ListBackups(); },
                                   [](zel::BackupList& list) {
                                     SetStatus(ui::StatusText(ui::Status::Ready));
                                     ShowHistory(list);
                                   });
}

}  // namespace app
