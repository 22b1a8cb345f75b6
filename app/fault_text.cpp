#include "app/fault_text.h"

#include "ui/language.h"

namespace app {

using zel::FaultKind;
using zel::Pick;

namespace {

// One sentence per kind; the detail, where the kind has one, follows it, and a few
// sentences go on after the detail.
struct Words {
  FaultKind kind;
  const wchar_t *vietnamese, *english;
  const wchar_t *vietnameseAfter = L"", *englishAfter = L"";
};

const Words kWords[] = {
    {FaultKind::StoreUnreadable, L"Không thể mở kho BCD.", L"Could not open the BCD store."},
    {FaultKind::BackupFileMissing, L"Không tìm thấy file sao lưu: ", L"Backup file not found: "},
    {FaultKind::NoBackupFolder, L"Không tìm được thư mục có quyền ghi để sao lưu BCD.",
     L"No writable folder was found for the BCD backup."},
    {FaultKind::BadEntryId, L"Mã định danh mục khởi động không hợp lệ: ", L"Invalid boot entry identifier: "},
    {FaultKind::EmptyName, L"Tên hiển thị không được để trống.", L"The display name must not be empty."},
    {FaultKind::EmptyOrder, L"Danh sách thứ tự khởi động đang trống.", L"The boot display order is empty."},
    {FaultKind::KeptOptions, L"Đã giữ lại đối tượng ", L"Kept the object ",
     L" mà mục đã xoá trỏ tới, vì không chắc đó là tuỳ chọn RAM-disk chỉ riêng mục này dùng.",
     L" that the deleted entry pointed to: it is not certain to be RAM-disk options only this entry used."},
    {FaultKind::BcdbootStoreNotReachable,
     L"BCDBoot chỉ ghi được vào kho BCD của hệ thống đang chạy, hoặc vào <ổ>:\\EFI\\Microsoft\\Boot\\BCD (UEFI) "
     L"hay <ổ>:\\Boot\\BCD (BIOS) trên một ổ đĩa được gán ký tự. Kho đang chọn không thuộc trường hợp nào: ",
     L"BCDBoot writes only the running system's BCD store, or <drive>:\\EFI\\Microsoft\\Boot\\BCD (UEFI) or "
     L"<drive>:\\Boot\\BCD (BIOS) on a drive with a letter. The selected store is neither: ",
     L"\r\n\r\nHãy bỏ chọn BCDBoot để tạo mục theo cách thủ công, hoặc chọn kho BCD nằm trên một ổ đĩa được gán ký tự.",
     L"\r\n\r\nClear the BCDBoot option to build the entry by hand, or pick the store on a drive with a letter."},
    {FaultKind::BcdFolderNotCreated, L"Không thể tạo thư mục BCD: ", L"Could not create the BCD folder: "},
    {FaultKind::NewStoreNotCreated, L"Không thể tạo kho BCD mới: ", L"Could not create a new BCD store: "},
    {FaultKind::WindowsMissing, L"Không tìm thấy Windows tại ", L"Windows was not found at "},
    {FaultKind::WindowsEntryNotCreated, L"Không thể tạo mục Windows: ", L"Could not create the Windows entry: "},
    {FaultKind::WindowsEntryNotConfigured, L"Không thể cấu hình mục Windows: ",
     L"Could not configure the Windows entry: "},
    {FaultKind::WindowsNotAddedToMenu, L"Không thể thêm Windows vào boot menu: ",
     L"Could not add Windows to the boot menu: "},
    {FaultKind::WimMissing, L"Không tìm thấy file WIM: ", L"WIM file not found: "},
    {FaultKind::WimWithoutDriveLetter, L"File WIM phải nằm trên ổ có ký tự ổ đĩa.",
     L"The WIM file must be on a volume that has a drive letter."},
    {FaultKind::BootSdiMissing, L"Không tìm thấy boot.sdi (đã kiểm tra \\Boot\\boot.sdi và các thư mục Windows Boot).",
     L"boot.sdi was not found (checked \\Boot\\boot.sdi and the Windows Boot folders)."},
    {FaultKind::RamdiskOptionsNotCreated, L"Không thể tạo ramdisk options: ",
     L"Could not create the ramdisk options: "},
    {FaultKind::WinPeEntryNotCreated, L"Không thể tạo mục WinPE: ", L"Could not create the WinPE entry: "},
    {FaultKind::WinPeEntryNotConfigured, L"Không thể cấu hình WinPE: ", L"Could not configure the WinPE entry: "},
    {FaultKind::WinPeNotAddedToMenu, L"Không thể thêm WinPE vào boot menu: ",
     L"Could not add WinPE to the boot menu: "},
    {FaultKind::NoFreeDriveLetter, L"Không còn ký tự ổ đĩa trống để gắn phân vùng EFI.",
     L"No free drive letter is available to mount the EFI System Partition."},
    {FaultKind::EspNotMounted, L"Không thể gắn EFI System Partition.", L"Could not mount the EFI System Partition."},
    {FaultKind::NoTar, L"WinPE chưa có tar.exe. Hãy thêm WinPE-StorageWMI/PowerShell hoặc tar.exe vào image.",
     L"This WinPE has no tar.exe. Add WinPE-StorageWMI/PowerShell or tar.exe to the image."},
    {FaultKind::NoTarToExtract, L"WinPE chưa có tar.exe nên không thể giải nén bản sao lưu EFI.",
     L"This WinPE has no tar.exe, so the EFI backup cannot be extracted."},
    {FaultKind::UnsafeArchivePath, L"File sao lưu chứa đường dẫn không an toàn: ",
     L"The backup contains an unsafe path: "},
    {FaultKind::NoEfiBackupFolder, L"Không tìm được thư mục có quyền ghi để sao lưu phân vùng EFI.",
     L"No writable folder was found for the EFI partition backup."},
    {FaultKind::EfiBackupMissing, L"Không tìm thấy file sao lưu EFI: ", L"EFI backup file not found: "},
    {FaultKind::NotUefi, L"Chỉ hỗ trợ khởi động vào thiết lập firmware trên máy UEFI.",
     L"Booting into firmware setup is only supported on UEFI machines."},
    {FaultKind::PrivilegeNotEnabled, L"Không bật được quyền SeSystemEnvironmentPrivilege: ",
     L"Could not enable SeSystemEnvironmentPrivilege: "},
    {FaultKind::FirmwareSetupUnsupported,
     L"Firmware của máy không hỗ trợ khởi động thẳng vào thiết lập UEFI (OsIndicationsSupported).",
     L"This firmware does not support booting straight into UEFI setup (OsIndicationsSupported)."},
    {FaultKind::OsIndicationsNotWritten, L"Không ghi được biến UEFI OsIndications: ",
     L"Could not write the UEFI OsIndications variable: "},
    {FaultKind::NoRestartTool, L"Không tìm thấy wpeutil.exe hoặc shutdown.exe để khởi động lại.",
     L"Neither wpeutil.exe nor shutdown.exe was found to restart the PC."},
    {FaultKind::FirmwareOrderUnreadable, L"Không đọc được thứ tự khởi động của firmware.",
     L"Could not read the firmware boot order."},
    {FaultKind::FirmwareManagerUnreadable, L"Không đọc được trình quản lý khởi động của firmware; không thay đổi gì.",
     L"The firmware boot manager could not be read; nothing was changed."},
    {FaultKind::FirmwareOrderRepeats,
     L"Thứ tự khởi động của firmware có mục lặp lại hoặc không hợp lệ; không thay đổi gì.",
     L"The firmware boot order lists an entry twice or one that is not valid; nothing was changed."},
    {FaultKind::FirmwareOrderIncomplete, L"Thứ tự khởi động của firmware không đọc được trọn vẹn; không thay đổi gì.",
     L"The firmware boot order could not be read whole; nothing was changed."},
    {FaultKind::NotInFirmwareOrder, L"Mục không có trong danh sách khởi động của firmware: ",
     L"The entry is not among the firmware's boot applications: "},
};

}  // namespace

std::wstring FaultText(const zel::Fault& fault) {
  for (const Words& words : kWords) {
    if (words.kind == fault.kind) {
      return Pick(words.vietnamese, words.english) + fault.detail + Pick(words.vietnameseAfter, words.englishAfter);
    }
  }
  return fault.detail;  // a tool's or the system's own words
}

}  // namespace app
