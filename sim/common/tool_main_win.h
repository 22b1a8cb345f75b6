#pragma once
// The shared body of every simulated tool's wmain: read the argument text,
// honour the test controls, run the tool, print its output the way console
// tools do.
#include <functional>
#include <string>
#include <string_view>

#include "sim/common/outcome.h"

namespace sim {

// Receives the argument text exactly as the tool was started with it.
using ToolBody = std::function<Outcome(const std::wstring& argumentText)>;

// Logs the invocation (ZQ_SIM_LOG), waits (ZQ_SIM_DELAY_MS), then either fails
// on purpose (ZQ_SIM_FAIL) or runs `body`; prints the outcome on standard
// output in the OEM code page and returns its exit code.
int RunSimulatedTool(std::wstring_view toolName, const ToolBody& body);

// An environment variable's value; empty when it is not set.
std::wstring ReadEnvironment(const wchar_t* name);

}  // namespace sim
