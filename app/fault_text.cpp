#include "app/fault_text.h"

#include "ui/language.h"

namespace app {

using zel::FaultKind;
using zel::Pick;

namespace {

// The sentence for a kind; its detail, where it has one, follows it.
const wchar_t* Lead(FaultKind kind) {
  switch (kind) {
    case FaultKind::None:
    case FaultKind::Said:
      return L"";
    case FaultKind::StoreUnreadable:
      return Pick(L"Không thể mở kho BCD.", L"Could not open the BCD store.");
    case FaultKind::BackupFileMissing:
      return Pick(L"Không tìm thấy file sao lưu: ", L"Backup file not found: ");
    case FaultKind::NoBackupFolder:
      return Pick(L"Không tìm được thư mục có quyền ghi để sao lưu BCD.", L"No writable folder was found for the BCD backup.");
    case FaultKind::BadEntryId:
      return Pick(L"Mã định danh mục khởi động không hợp lệ: ", L"Invalid boot entry identifier: ");
    case FaultKind::EmptyName:
      return Pick(L"Tên hiển thị không được để trống.", L"The display name must not be empty.");
    case FaultKind::EmptyOrder:
      return Pick(L"Danh sách thứ tự khởi động đang trống.", L"The boot display order is empty.");
    case FaultKind::KeptOptions:
      return Pick(L"Đã giữ lại đối tượng ", L"Kept the object ");
    case FaultKind::BcdbootStoreNotReachable:
      return Pick(L"BCDBoot chỉ ghi được vào kho BCD của hệ thống đang chạy, hoặc vào <ổ>:\\EFI\\Microsoft\\Boot\\BCD (UEFI) "
                  L"hay <ổ>:\\Boot\\BCD (BIOS) trên một ổ đĩa được gán ký tự. Kho đang chọn không thuộc trường hợp nào: ",
                  L"BCDBoot writes only the running system's BCD store, or <drive>:\\EFI\\Microsoft\\Boot\\BCD (UEFI) or "
                  L"<drive>:\\Boot\\BCD (BIOS) on a drive with a letter. The selected store is neither: ");
    case FaultKind::BcdFolderNotCreated:
      return Pick(L"Không thể tạo thư mục BCD: ", L"Could not create the BCD folder: ");
    case FaultKind::NewStoreNotCreated:
      return Pick(L"Không thể tạo kho BCD mới: ", L"Could not create a new BCD store: ");
    case FaultKind::WindowsMissing:
      return Pick(L"Không tìm thấy Windows tại ", L"Windows was not found at ");
    case FaultKind::WindowsEntryNotCreated:
      return Pick(L"Không thể tạo mục Windows: ", L"Could not create the Windows entry: ");
    case FaultKind::WindowsEntryNotConfigured:
      return Pick(L"Không thể cấu hình mục Windows: ", L"Could not configure the Windows entry: ");
    case FaultKind::WindowsNotAddedToMenu:
      return Pick(L"Không thể thêm Windows vào boot menu: ", L"Could not add Windows to the boot menu: ");
    case FaultKind::WimMissing:
      return Pick(L"Không tìm thấy file WIM: ", L"WIM file not found: ");
    case FaultKind::WimWithoutDriveLetter:
      return Pick(L"File WIM phải nằm trên ổ có ký tự ổ đĩa.", L"The WIM file must be on a volume that has a drive letter.");
    case FaultKind::BootSdiMissing:
      return Pick(L"Không tìm thấy boot.sdi (đã kiểm tra \\Boot\\boot.sdi và các thư mục Windows Boot).",
                  L"boot.sdi was not found (checked \\Boot\\boot.sdi and the Windows Boot folders).");
    case FaultKind::RamdiskOptionsNotCreated:
      return Pick(L"Không thể tạo ramdisk options: ", L"Could not create the ramdisk options: ");
    case FaultKind::WinPeEntryNotCreated:
      return Pick(L"Không thể tạo mục WinPE: ", L"Could not create the WinPE entry: ");
    case FaultKind::WinPeEntryNotConfigured:
      return Pick(L"Không thể cấu hình WinPE: ", L"Could not configure the WinPE entry: ");
    case FaultKind::WinPeNotAddedToMenu:
      return Pick(L"Không thể thêm WinPE vào boot menu: ", L"Could not add WinPE to the boot menu: ");
    case FaultKind::NoFreeDriveLetter:
      return Pick(L"Không còn ký tự ổ đĩa trống để gắn phân vùng EFI.",
                  L"No free drive letter is available to mount the EFI System Partition.");
    case FaultKind::EspNotMounted:
      return Pick(L"Không thể gắn EFI System Partition.", L"Could not mount the EFI System Partition.");
    case FaultKind::NoTar:
      return Pick(L"WinPE chưa có tar.exe. Hãy thêm WinPE-StorageWMI/PowerShell hoặc tar.exe vào image.",
                  L"This WinPE has no tar.exe. Add WinPE-StorageWMI/PowerShell or tar.exe to the image.");
    case FaultKind::NoTarToExtract:
      return Pick(L"WinPE chưa có tar.exe nên không thể giải nén bản sao lưu EFI.",
                  L"This WinPE has no tar.exe, so the EFI backup cannot be extracted.");
    case FaultKind::UnsafeArchivePath:
      return Pick(L"File sao lưu chứa đường dẫn không an toàn: ", L"The backup contains an unsafe path: ");
    case FaultKind::NoEfiBackupFolder:
      return Pick(L"Không tìm được thư mục có quyền ghi để sao lưu phân vùng EFI.",
                  L"No writable folder was found for the EFI partition backup.");
    case FaultKind::EfiBackupMissing:
      return Pick(L"Không tìm thấy file sao lưu EFI: ", L"EFI backup file not found: ");
    case FaultKind::NotUefi:
      return Pick(L"Chỉ hỗ trợ khởi động vào thiết lập firmware trên máy UEFI.",
                  L"Booting into firmware setup is only supported on UEFI machines.");
    case FaultKind::PrivilegeNotEnabled:
      return Pick(L"Không bật được quyền SeSystemEnvironmentPrivilege: ", L"Could not enable SeSystemEnvironmentPrivilege: ");
    case FaultKind::FirmwareSetupUnsupported:
      return Pick(L"Firmware của máy không hỗ trợ khởi động thẳng vào thiết lập UEFI (OsIndicationsSupported).",
                  L"This firmware does not support booting straight into UEFI setup (OsIndicationsSupported).");
    case FaultKind::OsIndicationsNotWritten:
      return Pick(L"Không ghi được biến UEFI OsIndications: ", L"Could not write the UEFI OsIndications variable: ");
    case FaultKind::NoRestartTool:
      return Pick(L"Không tìm thấy wpeutil.exe hoặc shutdown.exe để khởi động lại.",
                  L"Neither wpeutil.exe nor shutdown.exe was found to restart the PC.");
    case FaultKind::FirmwareOrderUnreadable:
      return Pick(L"Không đọc được thứ tự khởi động của firmware.", L"Could not read the firmware boot order.");
    case FaultKind::FirmwareManagerUnreadable:
      return Pick(L"Không đọc được trình quản lý khởi động của firmware; không thay đổi gì.",
                  L"The firmware boot manager could not be read; nothing was changed.");
    case FaultKind::FirmwareOrderRepeats:
      return Pick(L"Thứ tự khởi động của firmware có mục lặp lại hoặc không hợp lệ; không thay đổi gì.",
                  L"The firmware boot order lists an entry twice or one that is not valid; nothing was changed.");
    case FaultKind::FirmwareOrderIncomplete:
      return Pick(L"Thứ tự khởi động của firmware không đọc được trọn vẹn; không thay đổi gì.",
                  L"The firmware boot order could not be read whole; nothing was changed.");
    case FaultKind::NotInFirmwareOrder:
      return Pick(L"Mục không có trong danh sách khởi động của firmware: ",
                  L"The entry is not among the firmware's boot applications: ");
  }
  return L"";
}

// What follows the detail, for the few sentences that go on after it.
const wchar_t* Tail(FaultKind kind) {
  switch (kind) {
    case FaultKind::KeptOptions:
      return Pick(L" mà mục đã xoá trỏ tới, vì không chắc đó là tuỳ chọn RAM-disk chỉ riêng mục này dùng.",
                  L" that the deleted entry pointed to: it is not certain to be RAM-disk options only this entry used.");
    case FaultKind::BcdbootStoreNotReachable:
      return Pick(L"\r\n\r\nHãy bỏ chọn BCDBoot để tạo mục theo cách thủ công, hoặc chọn kho BCD nằm trên một ổ đĩa được gán ký tự.",
                  L"\r\n\r\nClear the BCDBoot option to build the entry by hand, or pick the store on a drive with a letter.");
    default:
      return L"";
  }
}

}  // namespace

std::wstring FaultText(const zel::Fault& fault) { return Lead(fault.kind) + fault.detail + Tail(fault.kind); }

}  // namespace app
