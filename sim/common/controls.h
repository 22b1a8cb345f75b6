#pragma once
// Test controls shared by every simulated tool. They come from environment
// variables (read by the platform side); the decisions made from them are here
// so that they can be tested on both build trees.
//   ZQ_SIM_LOG       file that receives one UTF-8 line per invocation
//   ZQ_SIM_FAIL      an invocation whose log line contains this text fails
//   ZQ_SIM_DELAY_MS  milliseconds to wait before doing anything
//   ZQ_SIM_DELAY_MATCH  when set, only invocations whose log line contains it wait
#include <string>
#include <string_view>

#include "sim/common/outcome.h"

namespace sim {

struct Controls {
  std::wstring logPath;   // empty: no log
  std::wstring failText;  // empty: never fail
  unsigned delayMs = 0;
  std::wstring delayMatch;  // empty: every invocation waits delayMs
};

// The log line of one invocation, without its line end: the tool's name, one
// blank, and the argument text exactly as received (the blank stays when the
// text is empty, so every line splits the same way).
std::wstring LogLineText(std::wstring_view tool, std::wstring_view argumentText);

// True when the invocation with this log line must fail (case-sensitive substring).
bool ShouldFail(const Controls& controls, std::wstring_view logLine);

// Reads ZQ_SIM_DELAY_MS: decimal digits around optional blanks; anything else
// means no delay. Capped at ten minutes so a typo cannot hang a test run for ever.
unsigned ParseDelayMs(std::wstring_view text);

// The wait before the invocation with this log line: delayMs, or 0 when a match
// text is set and the line does not contain it (case-sensitive substring).
unsigned DelayFor(const Controls& controls, std::wstring_view logLine);

// What a tool prints and returns when ShouldFail holds; it changes nothing.
Outcome SimulatedFailure();

}  // namespace sim
