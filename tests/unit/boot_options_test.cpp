#include "core/boot_options.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"

namespace zel {
namespace {

const std::wstring kId = L"{4b91442f-227f-45a6-a76f-4b17f619a5e3}";

std::vector<std::wstring> Runs(const BootOptions& before, const BootOptions& after) {
  std::vector<std::wstring> runs;
  for (const BootOptionStep& step : BootOptionSteps(kId, before, after)) runs.push_back(step.arguments);
  return runs;
}

// Only what changed is written; turning a switch off removes its element, and the
// two elements that travel together (safe mode's shell, repair's policy) go together.
TEST(BootOptions, OnlyWhatChangedIsWritten) {
  const BootOptions plain;
  BootOptions all;
  all.safeBoot = SafeBoot::Minimal;
  all.alternateShell = all.bootLog = all.baseVideo = all.quietBoot = all.sos = all.testSigning = true;
  all.noIntegrityChecks = all.recoveryDisabled = all.oneTimeAdvancedOptions = true;
  const std::wstring set = L"/set " + kId + L" ", remove = L"/deletevalue " + kId + L" ";
  EXPECT_EQ(Runs(plain, all),
            (std::vector<std::wstring>{set + L"safeboot minimal", set + L"safebootalternateshell yes", set + L"bootlog yes",
                                       set + L"basevideo yes", set + L"quietboot yes", set + L"sos yes",
                                       set + L"testsigning yes", set + L"nointegritychecks yes", set + L"recoveryenabled no",
                                       set + L"bootstatuspolicy IgnoreAllFailures", set + L"onetimeadvancedoptions yes"}));
  EXPECT_TRUE(Runs(all, all).empty());
  all.bootStatusPolicy = L"IgnoreAllFailures";
  EXPECT_EQ(Runs(all, plain),
            (std::vector<std::wstring>{remove + L"safeboot", remove + L"safebootalternateshell", remove + L"bootlog",
                                       remove + L"basevideo", remove + L"quietboot", remove + L"sos", remove + L"testsigning",
                                       remove + L"nointegritychecks", set + L"recoveryenabled yes",
                                       remove + L"bootstatuspolicy", remove + L"onetimeadvancedoptions"}));

  // From one safe mode to another: one run; the shell goes when the kind no longer has it.
  const BootOptions shell{.safeBoot = SafeBoot::Minimal, .alternateShell = true};
  EXPECT_EQ(Runs(shell, {.safeBoot = SafeBoot::Network}),
            (std::vector<std::wstring>{set + L"safeboot network", remove + L"safebootalternateshell"}));
  EXPECT_EQ(Runs(plain, {.safeBoot = SafeBoot::DsRepair}), std::vector<std::wstring>{set + L"safeboot dsrepair"});
  // Repair already off by another tool's policy: turning it off again writes nothing more; a
  // policy the program did not write stays when repair comes back.
  const BootOptions repairOff{.recoveryDisabled = true, .bootStatusPolicy = L"DisplayAllFailures"};
  EXPECT_TRUE(Runs(repairOff, repairOff).empty());
  EXPECT_EQ(Runs(repairOff, plain), std::vector<std::wstring>{set + L"recoveryenabled yes"});
}

TEST(BootOptions, ApplyStopsAtTheFirstFailureAndSaysWhatWasWritten) {
  const BootOptions before;
  const BootOptions after{.safeBoot = SafeBoot::Minimal, .alternateShell = true, .bootLog = true, .testSigning = true};
  test::FakePlatform fake;
  for (int i = 0; i < 3; ++i) fake.Reply(0, L"The operation completed successfully.");
  fake.Reply(1, L"An error occurred while attempting to reference the specified entry.");
  std::vector<std::wstring> applied = {L"stale"};
  Fault error;
  EXPECT_FALSE(ApplyBootOptions(L"E:\\Boot\\BCD", kId, before, after, applied, error));
  EXPECT_EQ(applied, (std::vector<std::wstring>{L"safeboot", L"safebootalternateshell", L"bootlog"}));
  EXPECT_EQ(error, Said(L"An error occurred while attempting to reference the specified entry."));
  ASSERT_EQ(fake.Arguments().size(), 4u);  // nothing after the failure
  EXPECT_EQ(fake.Arguments().back(), L"/store \"E:\\Boot\\BCD\" /set " + kId + L" testsigning yes");

  // An identifier that is not a GUID never reaches the command line.
  test::FakePlatform untouched;
  EXPECT_FALSE(ApplyBootOptions(L"", kId + L" /f", before, after, applied, error));
  EXPECT_TRUE(applied.empty());
  EXPECT_TRUE(untouched.runs.empty());
}

}  // namespace
}  // namespace zel
