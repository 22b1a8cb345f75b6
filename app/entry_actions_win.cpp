// Actions on the selected entry and on the boot manager's settings.
#include <windows.h>

#include "app/actions.h"
#include "app/command_log.h"
#include "app/jobs_win.h"
#include "app/selected_entry_win.h"
#include "core/bcd_edit.h"
#include "core/exact_names.h"
#include "core/text.h"
#include "ui/controls_win.h"
#include "ui/dialogs_win.h"
#include "ui/language.h"

namespace app {

using zel::Pick;

const zel::BootEntry* SelectedEntry() {
  const AppState& state = State();
  if (state.selectedEntryId.empty()) return nullptr;
  for (const auto& entry : state.snapshot.entries) {
    if (zel::EqualsNoCase(entry.identifier, state.selectedEntryId)) return &entry;
  }
  return nullptr;
}

// An identifier that heads two blocks of the listing may be a block forged by a
// description, or a damaged store: nothing the listing says of it can be trusted
// for a change. The boot manager's own settings are refused when it is the one.
bool RefusedAsSuspect(const std::wstring& id) {
  if (!zel::IsSuspect(State().snapshot, id)) return false;
  ShowError(Pick(L"Zel Quillon PE — Lỗi", L"Zel Quillon PE — Error"),
            Pick(L"Kho BCD liệt kê đối tượng ", L"The store lists the object ") + id +
                Pick(L" nhiều hơn một lần, nên không thể tin phần liệt kê về đối tượng này. Mục này không được sửa "
                     L"trong ứng dụng; hãy kiểm tra kho BCD bằng \"Xem chi tiết BCD\" hoặc khôi phục một bản sao lưu.",
                     L" more than once, so what the listing says of it cannot be trusted. It is not changed here; "
                     L"check the store with \"View Raw BCD\", or restore a backup."));
  return true;
}

bool RefusedAsSuspect(const zel::BootEntry& entry, bool touchesManager) {
  return RefusedAsSuspect(entry.identifier) || (touchesManager && RefusedAsSuspect(zel::BootManagerGuid));
}

namespace {

void SubmitDisplayOrder(const std::wstring& description, std::vector<std::wstring> order) {
  ExecuteChange(description,
                [order = std::move(order)](const std::wstring& store, zel::Fault& fault) {
                  return zel::SetDisplayOrder(store, order, fault);
                },
                false);
}

}  // namespace

void ActionSetDefault() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || RefusedAsSuspect(*entry, true)) return;
  const std::wstring id = entry->identifier;
  ExecuteChange(Pick(L"Đặt mục khởi động mặc định", L"Set default boot entry"),
                [id](const std::wstring& store, zel::Fault& fault) { return zel::SetDefaultEntry(store, id, fault); },
                false);
}

void ActionBootOnce() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || RefusedAsSuspect(*entry, true)) return;
  const std::wstring id = entry->identifier;
  ExecuteChange(Pick(L"Đặt Boot Once", L"Set Boot Once"),
                [id](const std::wstring& store, zel::Fault& fault) { return zel::SetBootSequence(store, id, fault); },
                false);
}

void ActionRename() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || RefusedAsSuspect(*entry, false)) return;
  // Letters the console could not carry arrived as "?": written back unchanged,
  // they would replace the store's true name with the damaged one.
  const bool lossy = zel::DescriptionMayBeLossy(*entry);
  const std::wstring shown = zel::Trim(entry->description);
  ui::FormSpec form;
  form.title = Pick(L"Đổi tên mục Khởi động (Description)", L"Change Boot Entry Description");
  form.description = Pick(L"Nhập tên hiển thị mới cho mục khởi động ", L"Enter a new display name for boot entry ") +
                     entry->identifier + L":";
  if (lossy) {
    form.description += Pick(L"\r\n\r\nKhông đọc được chính xác tên hiện tại: các ký tự hiện thành \"?\" đã bị mất khi "
                             L"đọc qua bcdedit. Hãy gõ lại tên đầy đủ; nếu để nguyên, tên trong kho BCD sẽ không bị đổi.",
                             L"\r\n\r\nThe current name could not be read exactly: characters shown as \"?\" were lost on "
                             L"the way through bcdedit. Type the full name again; left as it is, the name in the store "
                             L"is not changed.");
  }
  form.fields = {ui::FormField{ui::FieldType::Text, Pick(L"Tên hiển thị mới:", L"New Description:"), entry->description,
                               false, true}};
  form.okText = Pick(L"Lưu thay đổi", L"Save Changes");
  form.cancelText = Pick(L"Huỷ bỏ", L"Cancel");
  const std::wstring id = entry->identifier;
  if (!ui::ShowForm(State().view.window, form)) return;
  const std::wstring name = form.fields.front().value;
  if (lossy && name == shown) {
    SetStatus(ui::StatusText(ui::Status::NameUnchanged));
    return;
  }
  ExecuteChange(Pick(L"Đổi tên mục khởi động", L"Rename boot entry"),
                [id, name](const std::wstring& store, zel::Fault& fault) {
                  return zel::RenameEntry(store, id, name, fault);
                },
                false);
}

void ActionDelete() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || RefusedAsSuspect(*entry, false)) return;
  std::wstring question = Pick(L"Bạn có chắc chắn muốn xoá mục khởi động này không?\r\n\r\nTên: ",
                               L"Are you sure you want to delete this boot entry?\r\n\r\nName: ") +
                          entry->description + Pick(L"\r\nGUID: ", L"\r\nGUID: ") + entry->identifier;
  if (entry->isCurrent) {
    question += Pick(L"\r\n\r\nCảnh báo: Đây là Hệ điều hành ĐANG CHẠY! Xoá mục này có thể khiến máy không khởi động được.",
                     L"\r\n\r\nWarning: This entry is the currently RUNNING OS! Deleting it may prevent the PC from booting.");
  }
  if (entry->isDefault) {
    question += Pick(L"\r\n\r\nCảnh báo: Đây là mục khởi động MẶC ĐỊNH — hãy đặt mục khác làm mặc định trước.",
                     L"\r\n\r\nWarning: This is the DEFAULT boot entry — set another entry as default first.");
  }
  const std::wstring id = entry->identifier;
  if (!AskConfirm(Pick(L"Xác nhận xoá", L"Confirm delete"), question, Pick(L"Xoá", L"Delete"), ui::MessageKind::Warning,
                  true)) {
    return;
  }
  ExecuteChange(Pick(L"Xoá mục khởi động", L"Delete boot entry"),
                [id](const std::wstring& store, zel::Fault& fault) { return zel::DeleteEntry(store, id, fault); },
                false);
}

void ActionMove(int direction) {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || !entry->inDisplayOrder || RefusedAsSuspect(*entry, true)) return;
  const auto order = zel::MoveInDisplayOrder(State().snapshot.displayOrder, entry->identifier, direction < 0);
  if (!order) return;  // first up or last down: nothing to do
  SubmitDisplayOrder(direction < 0 ? Pick(L"Di chuyển mục lên", L"Move entry up")
                                   : Pick(L"Di chuyển mục xuống", L"Move entry down"),
                     *order);
}

void ActionShowInMenu() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || entry->inDisplayOrder || RefusedAsSuspect(*entry, true)) return;
  SubmitDisplayOrder(Pick(L"Hiện mục trong boot menu", L"Show entry in boot menu"),
                     zel::ShowInDisplayOrder(State().snapshot.displayOrder, entry->identifier));
}

void ActionPolicy() {
  const zel::BootEntry* entry = SelectedEntry();
  if (!entry || RefusedAsSuspect(*entry, false)) return;
  const zel::MenuPolicy policy =
      zel::PolicyOf(*entry) == zel::MenuPolicy::Legacy ? zel::MenuPolicy::Standard : zel::MenuPolicy::Legacy;
  const std::wstring id = entry->identifier;
  ExecuteChange(std::wstring(Pick(L"Đổi Boot Menu Policy thành ", L"Change Boot Menu Policy to ")) + zel::PolicyName(policy),
                [id, policy](const std::wstring& store, zel::Fault& fault) {
                  return zel::SetBootMenuPolicy(store, id, policy, fault);
                },
                false);
}

void ActionToggleMenu() {
  if (RefusedAsSuspect(zel::BootManagerGuid)) return;
  const bool show = !State().snapshot.displayBootMenu;
  ExecuteChange(show ? Pick(L"Bật hiển thị boot menu", L"Enable boot menu display")
                     : Pick(L"Tắt hiển thị boot menu", L"Disable boot menu display"),
                [show](const std::wstring& store, zel::Fault& fault) {
                  return zel::SetDisplayBootMenu(store, show, fault);
                },
                false);
}

void ActionTimeout() {
  if (RefusedAsSuspect(zel::BootManagerGuid)) return;
  int seconds = 0;
  if (!ParseTimeoutText(ui::GetWindowTextString(State().view.timeoutEdit), seconds)) {
    ui::ShowMessage(State().view.window, Pick(L"Dữ liệu không hợp lệ", L"Invalid input"),
                    Pick(L"Thời gian chờ phải là số từ 0 đến 3600.", L"The timeout must be a number from 0 to 3600."),
                    ui::MessageKind::Warning, {L"OK"}, -1, 0);
    return;
  }
  ExecuteChange(Pick(L"Đổi thời gian chờ", L"Change timeout"),
                [seconds](const std::wstring& store, zel::Fault& fault) {
                  return zel::SetMenuTimeout(store, seconds, fault);
                },
                false);
}

}  // namespace app
