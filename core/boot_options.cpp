#include "core/boot_options.h"

#include "core/bcd_edit.h"
#include "core/command_runner.h"
#include "core/text.h"

namespace zel {
namespace {

class Steps {
 public:
  explicit Steps(const std::wstring& id) : id_(id) {}
  void Set(const wchar_t* element, const std::wstring& value) {
    steps_.push_back({L"/set " + id_ + L" " + element + L" " + value, element});
  }
  void Delete(const wchar_t* element) { steps_.push_back({L"/deletevalue " + id_ + L" " + element, element}); }
  // A Yes/No switch: set when turned on, its element removed when turned off.
  void Switch(const wchar_t* element, bool was, bool now) {
    if (now && !was) Set(element, L"yes");
    if (was && !now) Delete(element);
  }
  std::vector<BootOptionStep> Take() { return std::move(steps_); }

 private:
  const std::wstring& id_;
  std::vector<BootOptionStep> steps_;
};

const wchar_t* SafeBootValue(SafeBoot mode) {
  switch (mode) {
    case SafeBoot::Network:
      return L"network";
    case SafeBoot::DsRepair:
      return L"dsrepair";
    case SafeBoot::Minimal:
    case SafeBoot::Off:
      break;
  }
  return L"minimal";
}

constexpr wchar_t kIgnoreAllFailures[] = L"IgnoreAllFailures";

}  // namespace

std::vector<BootOptionStep> BootOptionSteps(const std::wstring& id, const BootOptions& before, const BootOptions& after) {
  Steps steps(id);
  if (after.safeBoot == SafeBoot::Off) {
    if (before.safeBoot != SafeBoot::Off) steps.Delete(L"safeboot");
    if (before.alternateShell) steps.Delete(L"safebootalternateshell");
  } else {
    if (after.safeBoot != before.safeBoot) steps.Set(L"safeboot", SafeBootValue(after.safeBoot));
    steps.Switch(L"safebootalternateshell", before.alternateShell, after.alternateShell);
  }
  steps.Switch(L"bootlog", before.bootLog, after.bootLog);
  steps.Switch(L"basevideo", before.baseVideo, after.baseVideo);
  steps.Switch(L"quietboot", before.quietBoot, after.quietBoot);
  steps.Switch(L"sos", before.sos, after.sos);
  steps.Switch(L"testsigning", before.testSigning, after.testSigning);
  steps.Switch(L"nointegritychecks", before.noIntegrityChecks, after.noIntegrityChecks);
  if (after.recoveryDisabled != before.recoveryDisabled) {
    // Without the policy a machine that fails to start still lands in automatic repair.
    const bool ignoring = EqualsNoCase(before.bootStatusPolicy, kIgnoreAllFailures);
    steps.Set(L"recoveryenabled", after.recoveryDisabled ? L"no" : L"yes");
    if (after.recoveryDisabled && !ignoring) steps.Set(L"bootstatuspolicy", kIgnoreAllFailures);
    if (!after.recoveryDisabled && ignoring) steps.Delete(L"bootstatuspolicy");
  }
  steps.Switch(L"onetimeadvancedoptions", before.oneTimeAdvancedOptions, after.oneTimeAdvancedOptions);
  return steps.Take();
}

bool ApplyBootOptions(const std::wstring& storePath, const std::wstring& id, const BootOptions& before,
                      const BootOptions& after, std::vector<std::wstring>& applied, Fault& error) {
  applied.clear();
  error.clear();
  if (!CheckEntryId(id, error)) return false;
  for (const BootOptionStep& step : BootOptionSteps(id, before, after)) {
    if (!RunBcdeditStep(storePath, step.arguments, error)) return false;
    if (applied.empty() || applied.back() != step.element) applied.push_back(step.element);
  }
  return true;
}

}  // namespace zel
