#include "app/boot_options_form.h"

#include "core/text.h"
#include "ui/language.h"

namespace app {

using zel::Pick;
using zel::SafeBoot;

std::vector<std::wstring> SafeModeChoiceTexts() {
  return {Pick(L"Tắt", L"Off"), Pick(L"Tối thiểu", L"Minimal"), Pick(L"Có mạng", L"Networking"),
          Pick(L"Dòng lệnh", L"Command Prompt"), Pick(L"Sửa AD", L"AD Repair")};
}

SafeModeChoice SafeModeChoiceOf(const zel::BootOptions& options) {
  switch (options.safeBoot) {
    case SafeBoot::Off:
      return SafeModeChoice::Off;
    case SafeBoot::Network:
      return SafeModeChoice::Network;
    case SafeBoot::DsRepair:
      return SafeModeChoice::DsRepair;
    case SafeBoot::Minimal:
      break;
  }
  return options.alternateShell ? SafeModeChoice::CommandPrompt : SafeModeChoice::Minimal;
}

zel::BootOptions WithSafeMode(const zel::BootOptions& before, SafeModeChoice choice) {
  zel::BootOptions after = before;
  if (choice == SafeModeChoiceOf(before)) return after;
  after.alternateShell = choice == SafeModeChoice::CommandPrompt;
  after.safeBoot = choice == SafeModeChoice::Off       ? SafeBoot::Off
                   : choice == SafeModeChoice::Network ? SafeBoot::Network
                   : choice == SafeModeChoice::DsRepair ? SafeBoot::DsRepair
                                                        : SafeBoot::Minimal;
  return after;
}

const std::array<BootSwitch, 8> kBootSwitches = {{
    {&zel::BootOptions::bootLog, L"Ghi nhật ký khởi động (ntbtlog.txt)", L"Boot log (ntbtlog.txt)"},
    {&zel::BootOptions::baseVideo, L"Chỉ dùng driver màn hình cơ bản (base video)",
     L"Base video (the basic display driver only)"},
    {&zel::BootOptions::quietBoot, L"Không hiện màn hình khởi động (no GUI boot)",
     L"No GUI boot (no start-up animation)"},
    {&zel::BootOptions::sos, L"Hiện thông tin khởi động (tên driver khi nạp)",
     L"OS boot information (driver names while loading)"},
    {&zel::BootOptions::testSigning, L"Chế độ ký thử (nạp driver ký thử)", L"Test signing (loads test-signed drivers)"},
    {&zel::BootOptions::noIntegrityChecks, L"Tắt kiểm tra chữ ký driver", L"Driver signature checks off"},
    {&zel::BootOptions::recoveryDisabled, L"Tắt tự động sửa chữa (Automatic Repair)", L"Automatic repair off"},
    {&zel::BootOptions::oneTimeAdvancedOptions, L"Hiện tuỳ chọn khởi động nâng cao ở lần khởi động tới",
     L"Advanced startup options at the next boot"},
}};

namespace {

std::wstring Joined(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names) text += (text.empty() ? L"" : L", ") + name;
  return text;
}

}  // namespace

std::wstring AppliedText(const std::vector<std::wstring>& applied) {
  return Pick(L"Đã áp dụng: ", L"Applied: ") + Joined(applied);
}

std::wstring FailedText(const std::wstring& bcdeditError, const std::vector<std::wstring>& applied) {
  const std::wstring error = zel::Trim(bcdeditError);
  if (applied.empty()) return error + Pick(L" — chưa có gì được thay đổi.", L" — nothing was changed.");
  return error + Pick(L" — đã áp dụng trước khi lỗi: ", L" — applied before the failure: ") + Joined(applied);
}

}  // namespace app
