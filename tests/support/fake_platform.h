#pragma once
// A scripted machine for tests: records every program run and answers from a
// script, so a test asserts the exact command lines an operation runs and
// drives every failure path without a real process.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/platform.h"

namespace zel::test {

struct RunCall {
  std::wstring program;
  std::wstring arguments;
  uint32_t timeoutMs = 0;
};

class FakePlatform : public Platform {
 public:
  FakePlatform() { ScopedInstall(); }

  // Queues the reply to the next run; runs beyond the queue fail with exit code -1.
  void Reply(int32_t exitCode, const std::wstring& output);
  // Answers every run whose arguments contain `needle` (checked before the queue).
  void ReplyWhen(const std::wstring& needle, int32_t exitCode, const std::wstring& output);
  // Just the argument texts, in order.
  std::vector<std::wstring> Arguments() const;

  std::vector<RunCall> runs;
  std::wstring systemDirectory = L"C:\\Windows\\system32";
  std::map<uint32_t, std::wstring> errorMessages;
  std::map<std::wstring, uint32_t> attributes;
  std::vector<std::wstring> driveRoots;
  std::vector<std::wstring> volumeNames;

  CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs) override;
  std::wstring SystemDirectory() override { return systemDirectory; }
  std::wstring SystemErrorMessage(uint32_t code) override;
  uint32_t FileAttributes(const std::wstring& path) override;
  std::vector<std::wstring> LogicalDriveRoots() override { return driveRoots; }
  std::vector<std::wstring> VolumeNames() override { return volumeNames; }

 private:
  void ScopedInstall();
  struct Rule {
    std::wstring needle;
    CommandResult result;
  };
  std::deque<CommandResult> queue_;
  std::vector<Rule> rules_;
  std::unique_ptr<ScopedPlatform> installed_;
};

}  // namespace zel::test
