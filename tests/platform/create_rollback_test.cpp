// Failures in entry creation through the simulated tools under Wine: real store edits undone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/command_runner.h"
#include "core/entry_create.h"
#include "core/utf8.h"
#include "tests/support/files.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

using test::WriteBytes;

// Each step failing in turn leaves the store exactly as it was.
TEST(CreateOnWine, WinPeEntryRollsBackAfterEachFailure) {
  test::SimSandbox sim;
  const std::wstring image = sim.Folder() + L"\\sources\\boot.wim";
  WriteBytes(image, "wim");
  const std::wstring sdi = L"C:\\Boot\\boot.sdi";
  const bool hadSdi = std::filesystem::exists(std::filesystem::path(sdi));
  if (!hadSdi) WriteBytes(sdi, "sdi");
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  const std::wstring before = RunBcdedit(store, L"/enum all /v").output;

  std::wstring id;
  Fault error;
  for (const std::wstring step : {L"/device", L"ramdisksdipath", L"osloader", L"winpe yes", L"/displayorder"}) {
    sim.ClearLog();
    sim.FailWhen(step);
    WinPeEntryRequest request{image, L"Rescue", MenuPolicy::Standard, false, false, false, false};
    EXPECT_FALSE(CreateWinPeEntry(store, request, id, error)) << WideToUtf8(step);
    EXPECT_TRUE(id.empty());
    const auto log = sim.LogLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::wstring& line) { return line.find(step) != line.npos; }))
        << "never reached " << WideToUtf8(step);
    sim.FailWhen(L"");
    EXPECT_EQ(RunBcdedit(store, L"/enum all /v").output, before) << "half-made objects after " << WideToUtf8(step);
  }
  if (!hadSdi) DeleteFileW(sdi.c_str());
}

}  // namespace
}  // namespace zel
