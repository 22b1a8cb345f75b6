#pragma once
// The Win32 side of the command runner.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/command_result.h"

namespace zel {

// The real run: pipe, hidden process, job object, polling, time-out.
CommandResult RunHiddenProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs);

// Appends whatever the pipe holds now; never blocks. Returns true when bytes were read.
bool DrainPipe(HANDLE readEnd, std::vector<char>& buffer);

// Decodes tool output from the OEM code page; trailing CR, LF and NUL go.
std::wstring DecodeOemText(const std::vector<char>& buffer);

}  // namespace zel
