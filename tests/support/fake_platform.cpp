#include "tests/support/fake_platform.h"

#include <memory>

#include "core/command_runner.h"

namespace zel::test {
namespace {

CommandResult MakeResult(int32_t exitCode, const std::wstring& output) {
  CommandResult result;
  result.exitCode = exitCode;
  result.output = output;
  return result;
}

}  // namespace

void FakePlatform::ScopedInstall() { installed_ = std::make_unique<ScopedPlatform>(*this); }

void FakePlatform::Reply(int32_t exitCode, const std::wstring& output) {
  queue_.push_back(MakeResult(exitCode, output));
}

void FakePlatform::ReplyWhen(const std::wstring& needle, int32_t exitCode, const std::wstring& output) {
  rules_.push_back(Rule{needle, MakeResult(exitCode, output)});
}

std::vector<std::wstring> FakePlatform::Arguments() const {
  std::vector<std::wstring> list;
  for (const auto& run : runs) list.push_back(run.arguments);
  return list;
}

CommandResult FakePlatform::RunProcess(const std::wstring& program, const std::wstring& arguments,
                                       uint32_t timeoutMs) {
  runs.push_back(RunCall{program, arguments, timeoutMs});
  CommandResult result = MakeResult(-1, L"no scripted reply");
  bool matched = false;
  for (const auto& rule : rules_) {
    if (arguments.find(rule.needle) != std::wstring::npos) {
      result = rule.result;
      matched = true;
      break;
    }
  }
  if (!matched && !queue_.empty()) {
    result = queue_.front();
    queue_.pop_front();
  }
  result.commandLine = DisplayCommandLine(program, arguments);
  return result;
}

std::wstring FakePlatform::SystemErrorMessage(uint32_t code) {
  const auto found = errorMessages.find(code);
  return found == errorMessages.end() ? std::wstring() : found->second;
}

uint32_t FakePlatform::FileAttributes(const std::wstring& path) {
  const auto found = attributes.find(path);
  return found == attributes.end() ? kInvalidFileAttributes : found->second;
}

}  // namespace zel::test
