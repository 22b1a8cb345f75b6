// "Firmware Boot Order": the UEFI firmware's own boot options as the running
// system's store lists them ({fwbootmgr}); boot one once, or move one, each a
// change through the usual pipeline.
#include <windows.h>

#include "app/actions.h"
#include "app/command_log.h"
#include "app/fault_text.h"
#include "app/jobs_win.h"
#include "core/firmware_order.h"
#include "ui/dialogs_win.h"
#include "ui/icon_table.h"
#include "ui/language.h"
#include "ui/views/main_texts.h"

namespace app {
namespace {

using zel::FirmwareMove;
using zel::Pick;

enum FirmwareAction { kBootOnce = 0, kBootOnceAndRestart = 1, kMoveFirst = 2, kMoveUp = 3, kMoveDown = 4 };

std::wstring Title() { return Pick(L"Thứ tự khởi động UEFI", L"Firmware Boot Order"); }

ui::ListRow RowOf(const zel::FirmwareApp& app, int place) {
  ui::ListRow row;
  row.title = (place > 0 ? L"#" + std::to_wstring(place) + L"  " : L"") +
              (app.description.empty() ? app.identifier : app.description);
  row.details = app.identifier;
  if (!app.device.empty()) row.details += L"   \u2022   " + app.device;
  if (!app.path.empty()) row.details += L"  \u2022  " + app.path;
  if (app.isBootSequence) {
    row.badge = Pick(L"Khởi động kế tiếp", L"Boots Next");
    row.badgeColour = ui::Warning;
  } else if (app.isWindowsBootManager) {
    row.badge = L"Windows";
    row.badgeColour = ui::Accent;
  }
  return row;
}

void Change(const zel::FirmwareOrder& order, const zel::FirmwareApp& app, int action) {
  const std::wstring name = app.description.empty() ? app.identifier : app.description;
  const std::wstring id = app.identifier;
  if (action == kBootOnce || action == kBootOnceAndRestart) {
    FollowUp followUp;
    if (action == kBootOnceAndRestart) followUp.afterSuccess = [] { ActionPower(zel::PowerAction::Restart); };
    ExecuteChange(Pick(L"Khởi động 1 lần bằng mục UEFI: ", L"Boot once from firmware entry: ") + name,
                  [order, id](const std::wstring&, zel::Fault& fault) {
                    return zel::SetFirmwareBootNext(order, id, fault);
                  },
                  true, followUp);
    return;
  }
  const FirmwareMove move = action == kMoveFirst ? FirmwareMove::First
                            : action == kMoveUp  ? FirmwareMove::Up
                                                 : FirmwareMove::Down;
  const std::wstring what = action == kMoveFirst ? Pick(L"Đưa lên đầu thứ tự UEFI: ", L"Move first in firmware order: ")
                            : action == kMoveUp  ? Pick(L"Di chuyển lên trong thứ tự UEFI: ", L"Move up in firmware order: ")
                                                 : Pick(L"Di chuyển xuống trong thứ tự UEFI: ",
                                                        L"Move down in firmware order: ");
  ExecuteChange(what + name,
                [order, id, move](const std::wstring&, zel::Fault& fault) {
                  return zel::MoveFirmwareApp(order, id, move, fault);
                },
                true);
}

void ShowOrder(const zel::FirmwareOrder& order) {
  ui::ListSpec dialog;
  dialog.title = Title();
  dialog.description = Pick(L"Các mục khởi động của firmware, theo thứ tự firmware thử chúng. Thay đổi được ghi vào kho BCD "
                          L"của hệ thống đang chạy, nơi Windows đồng bộ với firmware.",
                          L"The firmware's boot options, in the order it tries them. Changes go to the running system's "
                          L"store, which Windows keeps in step with the firmware.");
  dialog.emptyText = Pick(L"Firmware không liệt kê mục khởi động nào.", L"The firmware lists no boot options.");
  // Each row's application and its place in the order (0: outside it, -1: a group title).
  std::vector<std::pair<const zel::FirmwareApp*, int>> rows;
  const bool groups = !order.unlisted.empty();
  if (groups) {
    dialog.rows.push_back(ui::ListRow{Pick(L"THỨ TỰ KHỞI ĐỘNG", L"BOOT ORDER"), L"", L"", 0, true});
    rows.push_back({nullptr, -1});
  }
  for (size_t i = 0; i < order.apps.size(); ++i) {
    dialog.rows.push_back(RowOf(order.apps[i], static_cast<int>(i) + 1));
    rows.push_back({&order.apps[i], static_cast<int>(i) + 1});
  }
  if (groups) {
    dialog.rows.push_back(ui::ListRow{Pick(L"NGOÀI THỨ TỰ KHỞI ĐỘNG", L"NOT IN THE BOOT ORDER"), L"", L"", 0, true});
    rows.push_back({nullptr, -1});
    for (const zel::FirmwareApp& app : order.unlisted) {
      dialog.rows.push_back(RowOf(app, 0));
      rows.push_back({&app, 0});
    }
  }
  dialog.actions = {{Pick(L"Khởi động 1 lần (lần tới)", L"Boot Once (Next Restart)"), ui::kIconPlay},
                  {Pick(L"Khởi động 1 lần và Restart", L"Boot Once and Restart"), ui::kIconRestart},
                  {Pick(L"Đưa lên đầu", L"Move First"), ui::kIconStar},
                  {Pick(L"Di chuyển lên", L"Move Up"), ui::kIconArrowUp},
                  {Pick(L"Di chuyển xuống", L"Move Down"), ui::kIconArrowDown}};
  const int last = static_cast<int>(order.apps.size());
  dialog.enabled = [&](int action, int row) {
    if (row < 0 || rows[static_cast<size_t>(row)].first == nullptr) return false;
    const auto [app, place] = rows[static_cast<size_t>(row)];
    // What the listing cannot vouch for is shown, never written.
    if (zel::IsSuspect(order, app->identifier)) return false;
    if (action == kBootOnce || action == kBootOnceAndRestart) return true;
    if (order.orderDamaged || place <= 0) return false;
    return action == kMoveDown ? place < last : place > 1;
  };
  for (size_t i = 0; i < rows.size() && dialog.selected < 0; ++i) {
    if (rows[i].first != nullptr) dialog.selected = static_cast<int>(i);
  }
  const int action = ui::ShowList(State().view.window, dialog);
  if (action < 0 || dialog.selected < 0) return;
  Change(order, *rows[static_cast<size_t>(dialog.selected)].first, action);
}

}  // namespace

void ActionFirmwareOrder() {
  if (IsBusy()) return;
  // The firmware reads its boot options from the machine, and Windows mirrors them in its
  // own store only: a store file's copy changes nothing the firmware sees.
  if (!State().shown.selectedStorePath.empty()) {
    ShowInfo(Title(), Pick(L"Thứ tự khởi động UEFI chỉ có trong kho BCD của hệ thống đang chạy. Hãy chọn \"",
                           L"The firmware boot order lives in the running system's store only. Select \"") +
                          ui::StoreDisplayName(L"") +
                          Pick(L"\" trước.", L"\" first."));
    return;
  }
  if (State().shown.firmware == zel::FirmwareKind::LegacyBios) {
    ShowInfo(Title(), Pick(L"Máy này khởi động theo chuẩn Legacy BIOS: firmware không có thứ tự khởi động mà Windows "
                           L"có thể đổi.",
                           L"This machine starts in legacy BIOS mode: its firmware has no boot order that Windows can "
                           L"change."));
    return;
  }
  RunInBackground<zel::FirmwareOrder>(
      Pick(L"Đang đọc thứ tự khởi động UEFI...", L"Reading the firmware boot order..."),
      [] { return zel::LoadFirmwareOrder(); },
      [](zel::FirmwareOrder& order) {
        if (!order.loaded) {
          AppendLog(Pick(L"> Không thể đọc thứ tự khởi động UEFI: ", L"> Could not read the firmware boot order: ") +
                    FaultText(order.error));
          SetStatus(ui::StatusText(ui::Status::Failed));
          ShowError(Pick(L"Zel Quillon PE — Lỗi", L"Zel Quillon PE — Error"), FaultText(order.error));
          return;
        }
        AppendLog(L"> bcdedit (system) /enum firmware /v [OK]");
        SetStatus(ui::StatusText(ui::Status::Ready));
        if (!order.hasManager) {
          ShowInfo(Title(), Pick(L"Kho BCD không có trình quản lý khởi động của firmware ({fwbootmgr}): máy khởi động theo "
                                 L"chuẩn Legacy BIOS không có thứ tự này.",
                                 L"The store has no firmware boot manager ({fwbootmgr}): a machine that starts in legacy "
                                 L"BIOS mode has no such order."));
          return;
        }
        ShowOrder(order);
      });
}

}  // namespace app
