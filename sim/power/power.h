#pragma once
// The simulated wpeutil and shutdown: they check and accept the power
// commands our program sends and never restart or stop anything; the
// invocation log is the only trace of the request.
#include <string>
#include <vector>

#include "sim/common/outcome.h"

namespace sim {

// `Reboot` or `Shutdown` (any case, as the real tool takes commands); any
// other command or an extra argument is refused.
Outcome ExecuteWpeutil(const std::vector<std::wstring>& args);

// Exactly one of /r and /s, optionally /fw and /t <seconds> (0 to 315360000),
// each at most once, in any order, with '/' or '-' and in any case.
Outcome ExecuteShutdown(const std::vector<std::wstring>& args);

}  // namespace sim
