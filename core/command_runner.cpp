#include "core/command_runner.h"

#include "core/platform.h"

namespace zel {

const wchar_t kTimeoutMessage[] = L"Process timed out and was terminated.";

CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs) {
  return CurrentPlatform().RunProcess(program, arguments, timeoutMs);
}

CommandResult RunBcdedit(const std::wstring& storePath, const std::wstring& arguments) {
  return RunProcess(SystemToolPath(L"bcdedit.exe"), BcdeditArguments(storePath, arguments), kBcdeditTimeoutMs);
}

bool RunBcdeditStep(const std::wstring& storePath, const std::wstring& arguments, Fault& error) {
  const CommandResult result = RunBcdedit(storePath, arguments);
  error = result.Succeeded() ? Fault{} : Said(result.output);
  return result.Succeeded();
}

std::wstring SystemToolPath(const std::wstring& fileName) {
  const std::wstring folder = CurrentPlatform().SystemDirectory();
  if (folder.empty()) return fileName;
  return folder + L"\\" + fileName;
}

std::wstring BcdeditArguments(const std::wstring& storePath, const std::wstring& arguments) {
  if (storePath.empty()) return arguments;
  return L"/store \"" + storePath + L"\" " + arguments;
}

std::wstring DisplayCommandLine(const std::wstring& program, const std::wstring& arguments) {
  return L"\"" + program + L"\" " + arguments;
}

std::wstring ProcessCommandLine(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  return line;
}

std::wstring TrimOutputEnd(std::wstring text) {
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'\0')) text.pop_back();
  return text;
}

std::wstring FinishOutput(std::wstring decoded, bool timedOut) {
  std::wstring output = TrimOutputEnd(std::move(decoded));
  if (timedOut) {
    if (!output.empty()) output += L"\r\n";
    output += kTimeoutMessage;
  }
  return output;
}

}  // namespace zel
