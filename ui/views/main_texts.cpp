#include "ui/views/main_texts.h"

#include "ui/language.h"
#include "ui/views/main_layout.h"

namespace ui {

using zel::Pick;

std::wstring MainWindowTitle() { return std::wstring(L"Zel Quillon PE v") + kVersionText + L" \u2014 BCD & Boot Manager"; }

std::wstring CommandText(const CommandFace& face) {
  return face.english ? Pick(face.vietnamese, face.english) : std::wstring();
}

std::wstring MainControlText(int id) {
  if (id >= kTimeoutPresetFirstId && id < kTimeoutPresetFirstId + static_cast<int>(kTimeoutPresetSeconds.size())) {
    return std::to_wstring(kTimeoutPresetSeconds[static_cast<size_t>(id - kTimeoutPresetFirstId)]) + L"s";
  }
  if (id == kStyleToggleId) return g_darkTheme ? Pick(L"Tối", L"Dark") : Pick(L"Sáng", L"Light");
  return L"";
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

std::wstring StatusText(Status status, size_t entries) {
  switch (status) {
    case Status::Ready:
      break;
    case Status::Loaded:
      return Pick(L"Đã tải ", L"Loaded ") + std::to_wstring(entries) +
             Pick(L" mục khởi động từ kho BCD.", L" boot entries from BCD store.");
    case Status::LoadFailed:
      return Pick(L"Không thể đọc kho BCD.", L"Could not read the BCD store.");
    case Status::Completed:
      return Pick(L"Thao tác hoàn tất.", L"Operation completed.");
    case Status::Failed:
      return Pick(L"Thao tác thất bại.", L"Operation failed.");
    case Status::Cancelled:
      return Pick(L"Đã huỷ thao tác.", L"Operation cancelled.");
    case Status::NameUnchanged:
      return Pick(L"Tên không đổi: không ghi gì vào kho BCD.", L"Name unchanged: nothing was written to the store.");
    case Status::OptionsUnchanged:
      return Pick(L"Tuỳ chọn khởi động không đổi: không ghi gì vào kho BCD.",
                  L"Boot options unchanged: nothing was written to the store.");
    case Status::LogCopied:
      return Pick(L"Đã sao chép nhật ký vào bộ nhớ tạm.", L"Log copied to clipboard.");
    case Status::JobNotStarted:
      return Pick(L"Không thể bắt đầu tác vụ nền.", L"Could not start the background job.");
    case Status::JobResultLost:
      return Pick(L"Không nhận được kết quả của tác vụ nền.", L"The background job's result was lost.");
  }
  return Pick(L"Sẵn sàng.", L"Ready.");
}

namespace {

std::wstring FirmwareText(zel::FirmwareKind firmware) {
  switch (firmware) {
    case zel::FirmwareKind::Uefi:
      return L"UEFI";
    case zel::FirmwareKind::LegacyBios:
      return L"Legacy BIOS";
    case zel::FirmwareKind::Unknown:
      break;
  }
  return Pick(L"Không xác định", L"Unknown");
}

}  // namespace

std::array<InfoRowText, 4> InfoCardRows(const std::wstring& environmentLabel, zel::FirmwareKind firmware,
                                        size_t entryCount, int timeoutSeconds) {
  return {{
      {Pick(L"Phiên bản:", L"Version:"), std::wstring(kVersionText) + L" PE", Violet},
      {Pick(L"HĐH hiện tại:", L"Current OS:"), environmentLabel, Accent},
      {Pick(L"Chuẩn Firmware:", L"Firmware:"), FirmwareText(firmware),
       firmware == zel::FirmwareKind::Uefi ? Success : Warning},
      {Pick(L"Số mục Boot:", L"Entries:"), std::to_wstring(entryCount) + L" (" + std::to_wstring(timeoutSeconds) + L"s)",
       kNoColour},
  }};
}

}  // namespace ui
