#pragma once
// Runs the system's console tools hidden and captures what they print. The
// runner only runs: callers decide what a failure means and pass `output` on.
#include <cstdint>
#include <string>

#include "core/command_result.h"
#include "core/fault.h"

namespace zel {

constexpr uint32_t kBcdeditTimeoutMs = 120000;
constexpr uint32_t kShortToolTimeoutMs = 120000;  // mountvol, wpeutil, shutdown
constexpr uint32_t kLongToolTimeoutMs = 600000;   // tar, bcdboot
constexpr uint32_t kTerminateWaitMs = 5000;       // how long a killed child may take to go
constexpr uint32_t kPollIntervalMs = 25;

// Starts `program` hidden with `arguments` (already quoted as the program needs),
// captures stdout and stderr through one pipe, and kills it (and everything it
// started) after `timeoutMs`. Blocks the caller: call it on a worker thread only.
CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs);

// bcdedit with the given arguments, against the system store (empty path) or a store file.
CommandResult RunBcdedit(const std::wstring& storePath, const std::wstring& arguments);
// One bcdedit step as a yes or no: `error` is empty when it succeeded, else what bcdedit printed.
bool RunBcdeditStep(const std::wstring& storePath, const std::wstring& arguments, Fault& error);

// The full path of a tool in the Windows system folder; the bare name when the folder is unknown.
std::wstring SystemToolPath(const std::wstring& fileName);

// --- The rules of a run, kept apart from the Win32 calls so they can be tested. ---

// `/store "path" arguments`, or the arguments alone for the system store.
std::wstring BcdeditArguments(const std::wstring& storePath, const std::wstring& arguments);
// "program" arguments — the blank is there even without arguments.
std::wstring DisplayCommandLine(const std::wstring& program, const std::wstring& arguments);
// The command line handed to the new process: the blank only when there are arguments.
std::wstring ProcessCommandLine(const std::wstring& program, const std::wstring& arguments);
// Removes trailing CR, LF and NUL characters.
std::wstring TrimOutputEnd(std::wstring text);
// The output of a run: decoded text, then the time-out line after a time-out.
std::wstring FinishOutput(std::wstring decoded, bool timedOut);

extern const wchar_t kTimeoutMessage[];

}  // namespace zel
