// Creating entries, backing up and restoring the store and the EFI System
// Partition, and the power buttons.
#include <windows.h>

#include "app/actions.h"
#include "app/command_log.h"
#include "app/fault_text.h"
#include "app/jobs_win.h"
#include "core/bcd_backup.h"
#include "core/efi_backup.h"
#include "core/entry_create.h"
#include "core/firmware.h"
#include "core/text.h"
#include "ui/dialogs_win.h"
#include "ui/language.h"
#include "ui/views/main_texts.h"

namespace app {
namespace {

using zel::Pick;

// Firmware flavour of the store a new entry goes into: by its path, else by this machine.
bool IsLegacyBiosStore(const std::wstring& storePath) {
  const std::wstring lower = zel::ToLower(storePath);
  if (lower.size() >= 5 && lower.find(L"\\efi\\") != std::wstring::npos) return false;
  if (lower.size() >= 9 && lower.ends_with(L"\\boot\\bcd")) return true;
  return zel::MachineFirmware() == zel::FirmwareKind::LegacyBios;
}

// A new entry, made on the worker in the flavour of the store it goes into; `made` words the
// success from the new entry's identifier, once the result is back on the UI thread.
template <typename Request>
void ExecuteCreation(const std::wstring& description, Request request,
                     bool (*create)(const std::wstring&, const Request&, std::wstring&, zel::Fault&),
                     std::function<std::wstring(const std::wstring& id)> made) {
  auto created = std::make_shared<std::wstring>();
  ExecuteChange(description,
                [request, create, created](const std::wstring& store, zel::Fault& fault) mutable {
                  request.legacyBios = IsLegacyBiosStore(store);
                  return create(store, request, *created, fault);
                },
                true, FollowUp{.words = [created, made](bool done, const zel::Fault& fault) {
                  return done ? made(*created) : FaultText(fault);
                }});
}

ui::FormSpec NewForm(const std::wstring& title, const std::wstring& description, const std::wstring& okText) {
  ui::FormSpec form;
  form.title = title;
  form.description = description;
  form.okText = okText;
  form.cancelText = Pick(L"Huỷ bỏ", L"Cancel");
  return form;
}

ui::FormField CheckBox(const std::wstring& label) { return ui::FormField{ui::FieldType::CheckBox, label, L"", false, false}; }

zel::MenuPolicy PolicyFrom(const ui::FormField& legacyCheckBox) {
  return legacyCheckBox.checked ? zel::MenuPolicy::Legacy : zel::MenuPolicy::Standard;
}

// The fields of the creation forms, in the order they are shown.
enum WinPeField : size_t { kWinPeImage, kWinPeDescription, kWinPeLegacy, kWinPeFirst, kWinPeDefault, kWinPeBootOnce };
enum WindowsField : size_t { kWindowsDrive, kWindowsDescription, kWindowsBcdboot, kWindowsLegacy, kWindowsFirst,
                             kWindowsDefault };

std::wstring LegacyPolicyLabel() {
  return Pick(L"Dùng giao diện Boot Legacy (màn hình chữ đen truyền thống)",
              L"Use Legacy boot menu policy (classic black text screen)");
}

struct JobTexts {
  std::wstring success, failure, logLine, errorTitle;
  bool reload = false;
};

// The common end of the jobs that do not change the store.
void FinishJob(const JobTexts& texts, bool success, const zel::Fault& fault) {
  if (success) {
    SetStatus(texts.success);
    if (!texts.logLine.empty()) AppendLog(texts.logLine);
    if (texts.reload) RefreshBcd();
    return;
  }
  SetStatus(texts.failure);
  ShowError(texts.errorTitle, FaultText(fault));
}

// A job around one operation that reports through a bool and an error text.
void RunFileJob(const std::wstring& busyText, std::function<bool(zel::Fault& fault)> operation, JobTexts texts) {
  RunInBackground<JobResult>(
      busyText,
      [operation] {
        JobResult result;
        result.success = operation(result.fault);
        return result;
      },
      [texts](JobResult& result) { FinishJob(texts, result.success, result.fault); });
}

// The partition is copied into the backup folder before a restore or a repair
// rewrites it; when that copy fails, the user chooses, as for the store's backup.
struct EfiChangeOutcome {
  bool snapshotTaken = false;
  std::wstring snapshotPath;
  zel::Fault snapshotFault;
  bool success = false;
  zel::Fault fault;
};

void RunEfiChange(const std::wstring& description, const std::wstring& busyText,
                  std::function<bool(zel::Fault& fault)> operation, JobTexts texts, bool snapshot = true) {
  RunInBackground<EfiChangeOutcome>(
      busyText,
      [description, operation, snapshot] {
        EfiChangeOutcome outcome;
        outcome.snapshotTaken =
            !snapshot || zel::SnapshotEfiBeforeChange(description, outcome.snapshotPath, outcome.snapshotFault);
        if (outcome.snapshotTaken) outcome.success = operation(outcome.fault);
        return outcome;
      },
      [description, busyText, operation, texts](EfiChangeOutcome& outcome) {
        if (outcome.snapshotTaken) {
          if (!outcome.snapshotPath.empty()) AppendLog(L"> Auto-backup EFI \u2192 " + outcome.snapshotPath + L" [OK]");
          FinishJob(texts, outcome.success, outcome.fault);
          return;
        }
        if (AskContinueWithoutBackup(Pick(L"> Auto-backup EFI thất bại: ", L"> Auto-backup EFI failed: "),
                                     Pick(L"Không thể tự động sao lưu phân vùng EFI:", L"Automatic EFI backup failed:"),
                                     outcome.snapshotFault)) {
          RunEfiChange(description, busyText, operation, texts, false);
        }
      });
}

struct ArchiveCheck {
  bool safe = false;
  bool hasEfiRoot = false;
  zel::Fault fault;
};

std::wstring FirstWindowsDrive(const std::vector<std::wstring>& drives) { return drives.empty() ? L"C:" : drives[0]; }

// The forms that offer a Windows drive scan the drives on a worker first: an empty card
// reader or a slow disk must not freeze the window. The form opens with what was found.
void WithWindowsDrives(void (*showForm)(const std::vector<std::wstring>& drives)) {
  RunInBackground<std::vector<std::wstring>>(
      Pick(L"Đang tìm các ổ có cài Windows...", L"Looking for drives with Windows..."), [] { return zel::FindWindowsDrives(); },
      [showForm](std::vector<std::wstring>& drives) {
        SetStatus(ui::StatusText(ui::Status::Ready));
        showForm(drives);
      });
}

}  // namespace

void ActionCreateWinPe() {
  const std::wstring wim = PickFile(false, Pick(L"Chọn file WinPE WIM", L"Select a WinPE WIM file"), FileFilter::Wim, L"", L"");
  if (wim.empty()) return;
  const size_t slash = wim.find_last_of(L"\\/");
  const std::wstring fallback = slash == std::wstring::npos ? L"Zel WinPE" : L"WinPE (" + wim.substr(slash + 1) + L")";
  ui::FormSpec form = NewForm(Pick(L"Tạo mục Boot cho WinPE (.wim)", L"Create Boot Entry for WinPE"),
                              Pick(L"Ứng dụng sẽ tự động cấu hình RAMDisk và file boot.sdi tương ứng cho file ảnh WinPE đã chọn.",
                                   L"Zel Quillon will automatically configure the RAMDisk options and boot.sdi for the selected "
                                   L"WinPE image."),
                              Pick(L"Tạo mục Boot WinPE", L"Create WinPE Entry"));
  form.fields = {
      ui::FormField{ui::FieldType::ReadOnly, Pick(L"Đường dẫn file WIM:", L"WIM File Path:"), wim, false, false},
      ui::FormField{ui::FieldType::Text, Pick(L"Tên hiển thị trong Menu Boot:", L"Boot Entry Description:"), fallback, false,
                    true},
      CheckBox(LegacyPolicyLabel()),
      CheckBox(Pick(L"Đưa lên đầu danh sách Menu Boot", L"Add to top of boot menu (First)")),
      CheckBox(Pick(L"Đặt làm mục khởi động Mặc định", L"Set as Default boot entry")),
      CheckBox(Pick(L"Khởi động thẳng vào WinPE này ở lần Restart kế tiếp (1 lần)",
                    L"Boot into this WinPE on next restart (One-Time BootSequence)")),
  };
  if (!ui::ShowForm(State().view.window, form)) return;
  zel::WinPeEntryRequest request;
  request.imagePath = wim;
  request.description = form.fields[kWinPeDescription].value;
  request.policy = PolicyFrom(form.fields[kWinPeLegacy]);
  request.addFirst = form.fields[kWinPeFirst].checked;
  request.setDefault = form.fields[kWinPeDefault].checked;
  request.bootOnce = form.fields[kWinPeBootOnce].checked;
  ExecuteCreation(Pick(L"Tạo mục khởi động WinPE", L"Create WinPE boot entry"), request, zel::CreateWinPeEntry,
                  [image = request.imagePath](const std::wstring& id) {
                    return Pick(L"Đã tạo WinPE ", L"Created WinPE ") + id + Pick(L" từ ", L" from ") + image;
                  });
}

namespace {

void ShowCreateWindowsForm(const std::vector<std::wstring>& drives) {
  std::wstring joined;
  for (const auto& drive : drives) joined += (joined.empty() ? L"" : L", ") + drive;
  const std::wstring driveLabel = drives.empty() ? Pick(L"Phân vùng Windows (ví dụ C:):", L"Windows Partition (e.g. C:):")
                                                 : Pick(L"Phân vùng Windows (đã phát hiện: ", L"Windows Partition (detected: ") +
                                                       joined + L"):";
  ui::FormSpec form = NewForm(Pick(L"Tạo mục Boot cho Windows", L"Create Boot Entry for Windows"),
                              Pick(L"Chọn phân vùng chứa bộ cài Windows để thêm vào Menu Boot, hoặc nạp lại file khởi động bằng "
                                   L"BCDBoot.",
                                   L"Select an installed Windows partition to add to the boot menu, or repair boot files with "
                                   L"BCDBoot."),
                              Pick(L"Tạo mục Boot Windows", L"Create Windows Entry"));
  form.fields = {
      ui::FormField{ui::FieldType::Text, driveLabel, FirstWindowsDrive(drives), false, true},
      ui::FormField{ui::FieldType::Text,
                    Pick(L"Tên hiển thị trong Menu Boot (để trống = tự đặt theo ổ đĩa):",
                         L"Boot Entry Description (leave empty = named after the drive):"),
                    L"", false, false},
      CheckBox(Pick(L"Dùng BCDBoot (cài đặt lại bộ file khởi động + thêm mục Windows)",
                    L"Use BCDBoot (reinstalls boot files + adds Windows entry)")),
      CheckBox(LegacyPolicyLabel()),
      CheckBox(Pick(L"Đưa lên đầu danh sách Menu Boot", L"Add to top of boot menu (First)")),
      CheckBox(Pick(L"Đặt làm mục khởi động Mặc định", L"Set as Default boot entry")),
  };
  if (!ui::ShowForm(State().view.window, form)) return;
  zel::WindowsEntryRequest request;
  request.windowsDrive = form.fields[kWindowsDrive].value;
  const std::wstring& description = form.fields[kWindowsDescription].value;
  request.description = description.empty() ? L"Windows (" + request.windowsDrive + L")" : description;
  request.useBcdboot = form.fields[kWindowsBcdboot].checked;
  request.policy = PolicyFrom(form.fields[kWindowsLegacy]);
  request.addFirst = form.fields[kWindowsFirst].checked;
  request.setDefault = form.fields[kWindowsDefault].checked;
  ExecuteCreation(Pick(L"Tạo mục khởi động Windows", L"Create Windows boot entry"), request, zel::CreateWindowsEntry,
                  [bcdboot = request.useBcdboot](const std::wstring& id) {
                    return bcdboot ? std::wstring(Pick(L"BCDBoot hoàn tất.", L"BCDBoot completed."))
                                   : Pick(L"Đã tạo Windows ", L"Created Windows ") + id;
                  });
}

}  // namespace

void ActionCreateWindows() { WithWindowsDrives(ShowCreateWindowsForm); }

void ActionRestore() {
  const std::wstring file = PickFile(false, Pick(L"Khôi phục BCD", L"Restore BCD"), FileFilter::BcdBackup, L"", L"");
  if (!file.empty()) RestoreStoreFrom(file);
}

void RestoreStoreFrom(const std::wstring& file, const std::wstring& note) {
  const std::wstring question =
      Pick(L"Bạn có chắc chắn muốn khôi phục (Import) kho BCD từ:\r\n", L"Are you sure you want to restore/import the BCD store from:\r\n") +
      file + Pick(L"\r\n\r\nThao tác này sẽ ghi đè cấu hình khởi động hiện tại.", L"\r\n\r\nThis will overwrite current boot entries.") +
      note;
  if (!AskConfirm(Pick(L"Xác nhận khôi phục", L"Confirm restore"), question, Pick(L"Khôi phục", L"Restore"),
                  ui::MessageKind::Warning, true)) {
    return;
  }
  ExecuteChange(Pick(L"Khôi phục BCD", L"Restore BCD"),
                [file](const std::wstring& store, zel::Fault& fault) { return zel::ImportStore(store, file, fault); },
                true);
}

void ActionBackup() {
  const std::wstring file =
      PickFile(true, Pick(L"Sao lưu BCD", L"Backup BCD"), FileFilter::BcdBackup, L"BCD-Backup.bcd", L"bcd");
  if (file.empty()) return;
  const std::wstring store = State().loadedStorePath;
  RunFileJob(Pick(L"Đang sao lưu BCD...", L"Backing up BCD..."),
             [store, file](zel::Fault& fault) { return zel::ExportStore(store, file, fault); },
             JobTexts{Pick(L"Sao lưu BCD thành công.", L"BCD backed up successfully."),
                      Pick(L"Sao lưu BCD thất bại.", L"BCD backup failed."), L"> Backup BCD \u2192 " + file + L" [OK]",
                      Pick(L"Lỗi sao lưu", L"Backup error"), false});
}

void ActionBackupEfi() {
  const std::wstring file = PickFile(true, Pick(L"Sao lưu EFI System Partition", L"Backup EFI System Partition"),
                                     FileFilter::Zip, L"EFI-Backup.zip", L"zip");
  if (file.empty()) return;
  RunFileJob(Pick(L"Đang sao lưu EFI System Partition...", L"Backing up EFI System Partition..."),
             [file](zel::Fault& fault) { return zel::BackupEfi(file, fault); },
             JobTexts{Pick(L"Sao lưu EFI thành công.", L"EFI backed up successfully."),
                      Pick(L"Sao lưu EFI thất bại.", L"EFI backup failed."), L"> Backup EFI \u2192 " + file + L" [OK]",
                      Pick(L"Lỗi sao lưu EFI", L"EFI backup error"), false});
}

void ActionRestoreEfi() {
  const std::wstring file = PickFile(false, Pick(L"Khôi phục EFI System Partition", L"Restore EFI System Partition"),
                                     FileFilter::Zip, L"", L"");
  if (!file.empty()) RestoreEfiFrom(file);
}

void RestoreEfiFrom(const std::wstring& file) {
  const std::wstring question = Pick(L"Khôi phục các file từ bản sao lưu này vào phân vùng hệ thống EFI?\r\n\r\n",
                                     L"Restore files from this backup to the EFI System Partition?\r\n\r\n") +
                                file +
                                Pick(L"\r\n\r\nCác file trùng tên hiện có sẽ bị ghi đè.",
                                     L"\r\n\r\nExisting files with the same names will be overwritten.");
  if (!AskConfirm(Pick(L"Xác nhận khôi phục EFI", L"Confirm EFI restore"), question, Pick(L"Khôi phục", L"Restore"),
                  ui::MessageKind::Warning, true)) {
    return;
  }
  const JobTexts texts{Pick(L"Khôi phục EFI thành công.", L"EFI restored successfully."),
                       Pick(L"Khôi phục EFI thất bại.", L"EFI restore failed."), L"> Restore EFI \u2190 " + file + L" [OK]",
                       Pick(L"Lỗi khôi phục EFI", L"EFI restore error"), true};
  // The archive is listed first: nothing is mounted for one that is unsafe or not a partition backup.
  RunInBackground<ArchiveCheck>(
      Pick(L"Đang kiểm tra bản sao lưu EFI...", L"Checking the EFI backup..."),
      [file] {
        ArchiveCheck check;
        check.safe = zel::CheckEfiArchive(file, check.hasEfiRoot, check.fault);
        return check;
      },
      [file, texts](ArchiveCheck& check) {
        if (!check.safe) {
          FinishJob(texts, false, check.fault);
          return;
        }
        if (!check.hasEfiRoot &&
            !AskConfirm(Pick(L"Không phải bản sao lưu EFI?", L"Not an EFI backup?"),
                        Pick(L"File này không có thư mục EFI ở gốc, nên có lẽ không phải bản sao lưu của phân vùng hệ thống "
                             L"EFI:\r\n\r\n",
                             L"This archive has no EFI folder at its root, so it is probably not a backup of the EFI System "
                             L"Partition:\r\n\r\n") +
                            file +
                            Pick(L"\r\n\r\nVẫn giải nén nó vào phân vùng EFI?", L"\r\n\r\nExtract it to the partition anyway?"),
                        Pick(L"Vẫn khôi phục", L"Restore anyway"), ui::MessageKind::Warning, true)) {
          SetStatus(ui::StatusText(ui::Status::Cancelled));
          return;
        }
        RunEfiChange(Pick(L"Khôi phục EFI", L"Restore EFI"),
                     Pick(L"Đang khôi phục EFI System Partition...", L"Restoring EFI System Partition..."),
                     [file](zel::Fault& fault) { return zel::RestoreEfi(file, fault); }, texts);
      });
}

namespace {

void ShowRepairEfiForm(const std::vector<std::wstring>& drives) {
  ui::FormSpec form = NewForm(Pick(L"Khôi phục EFI bằng BCDBoot", L"Repair EFI with BCDBoot"),
                              Pick(L"BCDBoot sẽ chép lại bộ file khởi động UEFI từ thư mục \\Windows của ổ đã chọn vào EFI System "
                                   L"Partition và sửa kho BCD. Không cần bản sao lưu EFI.",
                                   L"BCDBoot will copy fresh UEFI boot files from the \\Windows folder of the selected drive to "
                                   L"the EFI System Partition and repair the BCD store. No EFI backup is required."),
                              Pick(L"Sửa EFI", L"Repair EFI"));
  form.fields = {ui::FormField{ui::FieldType::Text, Pick(L"Ổ chứa Windows cần dùng:", L"Windows drive to use:"),
                               FirstWindowsDrive(drives), false, true}};
  if (!ui::ShowForm(State().view.window, form)) return;
  const std::wstring drive = form.fields.front().value;
  RunEfiChange(Pick(L"Sửa EFI từ Windows", L"Repair EFI from Windows"),
               Pick(L"Đang sửa EFI bằng BCDBoot...", L"Repairing EFI with BCDBoot..."),
               [drive](zel::Fault& fault) { return zel::RepairEfi(drive, fault); },
               JobTexts{Pick(L"Sửa EFI thành công.", L"EFI repaired successfully."),
                        Pick(L"Sửa EFI thất bại.", L"EFI repair failed."), L"> Repair EFI from " + drive + L"\\Windows [OK]",
                        Pick(L"Lỗi sửa EFI", L"EFI repair error"), true});
}

}  // namespace

void ActionRepairEfi() { WithWindowsDrives(ShowRepairEfiForm); }

void ActionPower(zel::PowerAction action) {
  std::wstring question, confirm;
  bool danger = false;
  switch (action) {
    case zel::PowerAction::Restart:
      question = Pick(L"Bạn có chắc chắn muốn khởi động lại máy tính (Restart) ngay bây giờ?", L"Restart the computer now?");
      confirm = Pick(L"Khởi động lại", L"Restart");
      break;
    case zel::PowerAction::Shutdown:
      question = Pick(L"Bạn có chắc chắn muốn tắt máy tính (Shutdown) ngay bây giờ?", L"Shut down the computer now?");
      confirm = Pick(L"Tắt máy", L"Shut down");
      danger = true;
      break;
    case zel::PowerAction::FirmwareSetup:
      question = Pick(L"Khởi động lại máy tính và truy cập thẳng vào thiết lập UEFI / BIOS ngay bây giờ?",
                      L"Restart PC directly into UEFI / BIOS Firmware settings now?");
      confirm = Pick(L"Vào BIOS", L"Enter BIOS");
      break;
  }
  if (!AskConfirm(Pick(L"Xác nhận", L"Confirm"), question, confirm, ui::MessageKind::Question, danger)) return;
  RunInBackground<JobResult>(
      Pick(L"Đang gửi lệnh nguồn...", L"Sending power command..."), [action] {
        JobResult result;
        result.success = zel::RunPowerAction(action, result.fault);
        return result;
      },
      [](JobResult& result) {
        FinishJob(JobTexts{Pick(L"Đã gửi lệnh nguồn.", L"Power command sent."), Pick(L"Lệnh nguồn thất bại.", L"Power command failed."),
                           L"", Pick(L"Lỗi nguồn hệ thống", L"Power error"), false},
                  result.success, result.fault);
      });
}

}  // namespace app
