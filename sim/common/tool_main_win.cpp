#include "sim/common/tool_main_win.h"

#include <windows.h>

#include <string>

#include "core/utf8.h"
#include "sim/common/argv.h"
#include "sim/common/controls.h"
#include "sim/common/file_io.h"

namespace sim {
namespace {

Controls ReadControls() {
  Controls controls;
  controls.logPath = ReadEnvironment(L"ZQ_SIM_LOG");
  controls.failText = ReadEnvironment(L"ZQ_SIM_FAIL");
  controls.delayMs = ParseDelayMs(ReadEnvironment(L"ZQ_SIM_DELAY_MS"));
  controls.delayMatch = ReadEnvironment(L"ZQ_SIM_DELAY_MATCH");
  return controls;
}

// Console tools print in the OEM code page, and our program decodes their
// output from it; messages go to standard output too, as the real tools do.
void PrintOem(const std::wstring& text) {
  if (text.empty()) return;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_OEMCP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;  // the reader went away; nothing else to tell
    }
    done += written;
  }
}

}  // namespace

std::wstring ReadEnvironment(const wchar_t* name) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD needed = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (needed == 0) return std::wstring();  // unset or empty
    if (needed < value.size()) {
      value.resize(needed);
      return value;
    }
    value.resize(needed);  // too small: `needed` includes the terminator
  }
}

int RunSimulatedTool(std::wstring_view toolName, const ToolBody& body) {
  const std::wstring argumentText = StripProgramToken(GetCommandLineW());
  const Controls controls = ReadControls();
  const std::wstring logLine = LogLineText(toolName, argumentText);
  // Logged first, so a test sees the attempt even when it is delayed or made to fail.
  if (!controls.logPath.empty()) AppendToFile(controls.logPath, zel::WideToUtf8(logLine) + "\n");
  if (const unsigned delay = DelayFor(controls, logLine)) Sleep(delay);
  const Outcome outcome = ShouldFail(controls, logLine) ? SimulatedFailure() : body(argumentText);
  PrintOem(outcome.output);
  return outcome.exitCode;
}

}  // namespace sim
