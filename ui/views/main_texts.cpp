#include "ui/views/main_texts.h"

#include "core/language.h"
#include "ui/views/main_layout.h"

namespace ui {

using zel::Pick;

const std::array<QuickAction, 8> kQuickActions = {{
    {kAddWinPeId, L"[1] Add WinPE Boot Entry", L"[1] Tạo Boot cho WinPE", 3},
    {kAddWindowsId, L"[2] Add Windows Boot Entry", L"[2] Tạo Boot cho Windows", 2},
    {kBackupBcdId, L"[3] Backup BCD", L"[3] Sao lưu BCD", 19},
    {kRestoreBcdId, L"[4] Restore BCD", L"[4] Khôi phục BCD", 20},
    {kRawViewId, L"[5] View Raw BCD", L"[5] Xem chi tiết BCD", 18},
    {kBackupEfiId, L"[7] Backup EFI Partition", L"[7] Sao lưu phân vùng EFI", 22},
    {kRestoreEfiId, L"[8] Restore EFI Backup", L"[8] Khôi phục bản sao lưu EFI", 20},
    {kRepairEfiId, L"[9] Repair EFI from Windows", L"[9] Khôi phục EFI từ Windows", 15},
}};

std::wstring MainWindowTitle() { return std::wstring(L"Zel Quillon PE v") + kVersionText + L" \u2014 BCD & Boot Manager"; }

std::wstring MainControlText(int id) {
  for (const QuickAction& action : kQuickActions) {
    if (action.id == id) return Pick(action.vietnamese, action.english);
  }
  if (id >= kTimeoutPresetFirstId && id < kTimeoutPresetFirstId + static_cast<int>(kTimeoutPresetSeconds.size())) {
    return std::to_wstring(kTimeoutPresetSeconds[static_cast<size_t>(id - kTimeoutPresetFirstId)]) + L"s";
  }
  switch (id) {
    case kBrowseId:
      return Pick(L"Chọn file BCD...", L"Browse BCD...");
    case kRefreshId:
      return Pick(L"Làm mới BCD", L"Refresh BCD");
    case kApplyTimeoutId:
      return Pick(L"Áp dụng", L"Apply");
    case kShowBootMenuId:
      return Pick(L"Hiện Menu Boot khi bật máy", L"Show Boot Menu");
    case kFirmwareRestartId:
      return Pick(L"[B] Khởi động lại vào BIOS", L"[B] Restart PC to BIOS");
    case kRestartId:
      return L"[R] Restart";
    case kShutdownId:
      return L"[S] Shutdown";
    case kStyleToggleId:
      return g_darkTheme ? Pick(L"Tối", L"Dark") : Pick(L"Sáng", L"Light");
    case kLanguageToggleId:
      // Names the language in use, in that language.
      return Pick(L"Tiếng Việt", L"English");
    case kCopyLogId:
      return Pick(L"Sao chép", L"Copy Log");
    case kClearLogId:
      return Pick(L"Xoá nhật ký", L"Clear Log");
    default:
      return L"";
  }
}

std::wstring StoreDisplayName(const std::wstring& storePath) {
  return storePath.empty() ? Pick(L"BCD Hệ thống (Đang chạy)", L"System BCD Store (Active)") : storePath;
}

std::wstring SubtitleText() { return Pick(L"Quản trị BCD & Khởi động", L"BCD & Boot Manager"); }
std::wstring QuickActionsTitle() { return Pick(L"TÁC VỤ NHANH (Zel 8.3)", L"QUICK ACTIONS (Zel 8.3)"); }
std::wstring PowerTitle() { return Pick(L"NGUỒN & BIOS / UEFI", L"POWER & FIRMWARE"); }
std::wstring StoreLabelText() { return Pick(L"Kho BCD:", L"BCD Store:"); }
std::wstring TimeoutLabelText() { return Pick(L"Thời gian chờ (giây):", L"Timeout (sec):"); }
std::wstring LogTitleText() { return Pick(L"Nhật ký lệnh BCDEdit", L"BCDEdit Command Log"); }
std::wstring ReadyStatusText() { return Pick(L"Sẵn sàng.", L"Ready."); }

std::array<InfoRowText, 4> InfoCardRows(const std::wstring& environmentLabel, const std::wstring& firmwareLabel,
                                        size_t entryCount, int timeoutSeconds) {
  return {{
      {Pick(L"Phiên bản:", L"Version:"), std::wstring(kVersionText) + L" PE", Violet},
      {Pick(L"HĐH hiện tại:", L"Current OS:"), environmentLabel, Accent},
      {Pick(L"Chuẩn Firmware:", L"Firmware:"), firmwareLabel, FirmwareDotColour(firmwareLabel)},
      {Pick(L"Số mục Boot:", L"Entries:"), std::to_wstring(entryCount) + L" (" + std::to_wstring(timeoutSeconds) + L"s)",
       kNoColour},
  }};
}

}  // namespace ui
