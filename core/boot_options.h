#pragma once
// Changing the repair switches of a Windows entry: only what differs from what the
// listing showed is written, one bcdedit run per element, in a fixed order.
#include <string>
#include <vector>

#include "core/bcd_model.h"
#include "core/fault.h"

namespace zel {

// One bcdedit run: its arguments (without /store) and the switch it changes.
struct BootOptionStep {
  std::wstring arguments;
  std::wstring element;  // "safeboot", "testsigning", ...
};

// The runs that turn `before` into `after` for entry `id`, none when nothing
// differs. Safe mode off removes both safeboot and safebootalternateshell; automatic
// repair off is recoveryenabled No with bootstatuspolicy IgnoreAllFailures.
std::vector<BootOptionStep> BootOptionSteps(const std::wstring& id, const BootOptions& before, const BootOptions& after);

// Runs the steps in order and stops at the first failure. `applied` names the
// elements written before it; `error` is bcdedit's message (or a fixed one).
bool ApplyBootOptions(const std::wstring& storePath, const std::wstring& id, const BootOptions& before,
                      const BootOptions& after, std::vector<std::wstring>& applied, Fault& error);

}  // namespace zel
