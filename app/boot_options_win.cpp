// The "Boot options" form of a Windows entry: its repair switches, written
// through the change pipeline, only where the user changed them.
#include <windows.h>

#include "app/actions.h"
#include "app/boot_options_form.h"
#include "app/command_log.h"
#include "app/fault_text.h"
#include "app/jobs_win.h"
#include "app/selected_entry_win.h"
#include "core/boot_options.h"
#include "ui/dialogs_win.h"
#include "ui/language.h"

namespace app {

using zel::Pick;

void ActionBootOptions() {
  const zel::BootEntry* entry = SelectedEntry();
  if (entry == nullptr || !entry->isWindows || entry->isWinPe || RefusedAsSuspect(*entry, false)) return;
  const zel::BootOptions before = entry->options;
  const std::wstring id = entry->identifier;

  ui::FormSpec form;
  form.width = 680;  // room for "Command Prompt" in its segment
  form.title = Pick(L"Tuỳ chọn khởi động", L"Boot options");
  form.description = Pick(L"Tuỳ chọn khởi động của \"", L"Boot options of \"") + entry->description + L"\" (" + id +
                     Pick(L"). Chỉ những gì bạn thay đổi mới được ghi vào kho BCD.",
                          L"). Only what you change is written to the store.");
  ui::FormField safeMode;
  safeMode.type = ui::FieldType::Choice;
  safeMode.label = Pick(L"Chế độ an toàn (Safe Mode):", L"Safe mode:");
  safeMode.choices = SafeModeChoiceTexts();
  safeMode.choice = static_cast<int>(SafeModeChoiceOf(before));
  form.fields.push_back(safeMode);
  for (const BootSwitch& option : kBootSwitches) {
    ui::FormField box;
    box.type = ui::FieldType::CheckBox;
    box.label = Pick(option.vietnamese, option.english);
    box.checked = before.*option.member;
    form.fields.push_back(box);
  }
  form.okText = Pick(L"Áp dụng", L"Apply");
  if (!ui::ShowForm(State().view.window, form)) return;

  zel::BootOptions after = WithSafeMode(before, static_cast<SafeModeChoice>(form.fields.front().choice));
  for (size_t i = 0; i < kBootSwitches.size(); ++i) after.*kBootSwitches[i].member = form.fields[i + 1].checked;
  if (zel::BootOptionSteps(id, before, after).empty()) {
    SetStatus(ui::StatusText(ui::Status::OptionsUnchanged));
    return;
  }
  auto applied = std::make_shared<std::vector<std::wstring>>();  // filled by the worker
  ExecuteChange(Pick(L"Đổi tuỳ chọn khởi động", L"Change boot options"),
                [id, before, after, applied](const std::wstring& store, zel::Fault& fault) {
                  return zel::ApplyBootOptions(store, id, before, after, *applied, fault);
                },
                false,
                FollowUp{.reloadAfterFailure = true, .words = [applied](bool done, const zel::Fault& fault) {
                           return done ? AppliedText(*applied) : FailedText(FaultText(fault), *applied);
                         }});
}

}  // namespace app
