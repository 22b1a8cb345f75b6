// Deleting from a store file through the simulated bcdedit, read back from that file.
#include <gtest/gtest.h>

#include "core/bcd_edit.h"
#include "core/bcd_store.h"
#include "core/command_runner.h"
#include "core/utf8.h"
#include "tests/support/sample_store.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

const std::wstring &kWin11 = test::kSampleWin11, &kPe = test::kSamplePe, &kPeOptions = test::kSamplePeOptions;
const std::wstring &kMemtest = test::kSampleMemtest, &kRecovery = test::kSampleRecovery;
const std::wstring& kRecoveryOptions = test::kSampleRecoveryOptions;

// Deleting a WinPE entry takes its own ramdisk options along; the recovery loader's
// options go only with the recovery loader.
TEST(EditStoreOnWine, DeletingAWinPeEntryTakesItsOwnOptionsOnly) {
  test::SimSandbox sim;
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"Boot Files\\BCD");
  Fault error;
  ASSERT_TRUE(DeleteEntry(store, kPe, error)) << WideToUtf8(error.detail);
  EXPECT_FALSE(RunBcdedit(store, L"/enum " + kPeOptions + L" /v").Succeeded());
  BcdSnapshot s = LoadBcdSnapshot(store);
  EXPECT_EQ(s.entries.size(), 3u);
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{kWin11, kMemtest}));
  EXPECT_TRUE(RunBcdedit(store, L"/enum " + kRecoveryOptions + L" /v").Succeeded());

  sim.ClearLog();
  ASSERT_TRUE(DeleteEntry(store, kRecovery, error)) << WideToUtf8(error.detail);
  std::string calls;  // which calls were made, should this ever fail
  for (const auto& line : sim.LogLines()) calls += WideToUtf8(line) + "\n";
  EXPECT_FALSE(RunBcdedit(store, L"/enum " + kRecoveryOptions + L" /v").Succeeded()) << calls;
  EXPECT_TRUE(RunBcdedit(store, L"/enum " + kWin11 + L" /v").Succeeded());

  EXPECT_FALSE(DeleteEntry(store, L"{00000000-0000-0000-0000-000000000000}", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace zel
