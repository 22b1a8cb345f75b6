#include "core/bcd_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <tuple>

#include "core/exact_names.h"

#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"
#include "tests/support/listings.h"

namespace zel {
namespace {

const std::wstring kWin11 = L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kWinPe = L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}";

TEST(LoadBcdSnapshot, SystemStoreRunsItsThreeEnumerationsAtOnce) {
  test::FakePlatform fake;
  fake.ReplyWhen(L"/enum all", 0, test::kUefiListing);
  // The manager's own default element wins over what /enum {default} printed.
  fake.ReplyWhen(L"{default}", 0, L"\r\nWindows Boot Loader\r\n---\r\nidentifier " + kWinPe);
  fake.ReplyWhen(L"{current}", 0, L"\r\nWindows Boot Loader\r\n---\r\nidentifier " + kWinPe);
  // Each run waits, a while at most, until all three are under way.
  std::mutex mutex;
  std::condition_variable arrived;
  int started = 0;
  bool together = true;
  fake.onRun = [&](const test::RunCall&) {
    std::unique_lock<std::mutex> lock(mutex);
    ++started;
    arrived.notify_all();
    together &= arrived.wait_for(lock, std::chrono::seconds(2), [&] { return started == 3; });
  };
  BcdSnapshot s = LoadBcdSnapshot(L"");

  EXPECT_TRUE(together);
  EXPECT_TRUE(s.loaded);
  EXPECT_TRUE(s.error.empty());
  EXPECT_EQ(s.rawText, test::kUefiListing);
  EXPECT_EQ(s.currentId, kWinPe);
  EXPECT_EQ(s.defaultId, kWin11);
  ASSERT_GE(s.entries.size(), 2u);
  EXPECT_TRUE(s.entries[1].isCurrent);
  EXPECT_FALSE(s.entries[0].isCurrent);
  EXPECT_TRUE(s.entries[0].isDefault);
}

TEST(LoadBcdSnapshot, StoreFileNeverAsksForTheRunningEntry) {
  test::FakePlatform fake;
  // The file's manager has no default element: the {default} answer is used.
  fake.ReplyWhen(L"/enum all", 0,
                 test::Block(L"Windows Boot Manager", BootManagerGuid, L"") +
                     test::Block(L"Windows Boot Loader", kWin11, L"path \\Windows\\system32\\winload.efi\r\n"));
  fake.ReplyWhen(L"{default}", 0, L"identifier " + kWin11);
  BcdSnapshot s = LoadBcdSnapshot(L"E:\\Boot\\BCD");

  std::vector<std::wstring> asked = fake.Arguments();
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"/store \"E:\\Boot\\BCD\" /enum all /v",
                                              L"/store \"E:\\Boot\\BCD\" /enum {default} /v"}));
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_TRUE(s.currentId.empty());
  ASSERT_EQ(s.entries.size(), 1u);
  EXPECT_TRUE(s.entries[0].isDefault);
  EXPECT_FALSE(s.entries[0].isCurrent);
}

TEST(LoadBcdSnapshot, AFailedListingIsTheOnlyFatalCase) {
  const std::wstring unopened = L"The boot configuration data store could not be opened.";
  const std::tuple<int32_t, std::wstring, Fault> failures[] = {{1, unopened, Said(unopened)},
                                                               {5, L"", Fault{FaultKind::StoreUnreadable}}};
  for (const auto& [exitCode, output, fault] : failures) {
    test::FakePlatform fake;
    fake.ReplyWhen(L"/enum all", exitCode, output);
    const BcdSnapshot s = LoadBcdSnapshot(L"");
    EXPECT_FALSE(s.loaded);
    EXPECT_EQ(s.error, fault);
    EXPECT_EQ(s.rawText, output);
    EXPECT_TRUE(s.entries.empty());
  }
  // Failed {default} and {current} runs are ignored.
  test::FakePlatform fake;
  fake.ReplyWhen(L"/enum all", 0, test::kUefiListing);
  fake.ReplyWhen(L"{default}", 1, L"The specified entry identifier is not valid.");
  fake.ReplyWhen(L"{current}", 2, L"Process timed out and was terminated.");
  BcdSnapshot s = LoadBcdSnapshot(L"");
  EXPECT_TRUE(s.loaded);
  EXPECT_EQ(s.defaultId, kWin11);  // from the manager's element
  EXPECT_TRUE(s.currentId.empty());
}

// The console turned the Vietnamese letters into "?"; the store keeps them.
const std::wstring kLossyListing =
    test::Block(L"Windows Boot Manager", BootManagerGuid,
                L"displayorder " + kWin11 + L"\r\n             " + kWinPe + L"\r\n") +
    test::Block(L"Windows Boot Loader", kWin11,
                L"path \\Windows\\system32\\winload.efi\r\ndescription C?u h? \u2013 Windows\r\n") +
    test::Block(L"Windows Boot Loader", kWinPe,
                L"path \\windows\\system32\\boot\\winload.efi\r\nwinpe Yes\r\ndescription Rescue?\r\n");
const std::wstring kExact = L"Cứu hộ – Windows";

std::wstring SystemKey(const std::wstring& id) {
  return L"BCD00000000\\Objects\\" + id + L"\\Elements\\12000004|Element";
}

// A store file that cannot be opened as a hive, as under Wine, is read from its listing alone in
// NamesEndToEnd.AStoreFileThatCannotBeReadExactlyIsNotWrittenBack.
TEST(LoadBcdSnapshot, ExactDescriptionsWinWhereTheStoreCanBeRead) {
  struct Case {
    const char* name;
    std::wstring storePath;
    std::function<void(test::FakePlatform&)> setUp;
    size_t hivesOpened;
  };
  const Case cases[] = {
      {"system store, one value present, one key missing", L"",
       [](test::FakePlatform& fake) { fake.registry[SystemKey(kWin11)] = kExact; }, 0},
      {"the running system's store named by its file", L"E:\\EFI\\Microsoft\\Boot\\BCD",
       [](test::FakePlatform& fake) {
         fake.registry[L"SYSTEM\\CurrentControlSet\\Control\\hivelist|\\REGISTRY\\MACHINE\\BCD00000000"] =
             L"\\Device\\HarddiskVolume1\\EFI\\Microsoft\\Boot\\BCD";
         fake.dosDevices[L"E:"] = L"\\Device\\HarddiskVolume1";
         fake.registry[SystemKey(kWin11)] = kExact;
       },
       0},
      {"an offline file opened as a hive", L"F:\\Boot\\BCD",
       [](test::FakePlatform& fake) {
         fake.hiveFiles[L"f:\\boot\\bcd"][L"Objects\\" + kWin11 + L"\\Elements\\12000004|Element"] = kExact;
         fake.registry[SystemKey(kWin11)] = L"the running system's name, not this file's";
       },
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform fake;
    fake.ReplyWhen(L"/enum all", 0, kLossyListing);
    c.setUp(fake);
    const BcdSnapshot s = LoadBcdSnapshot(c.storePath);
    ASSERT_EQ(s.entries.size(), 2u);
    EXPECT_EQ(fake.hivesOpened.size(), c.hivesOpened);
    EXPECT_TRUE(s.entries[0].descriptionExact);
    EXPECT_EQ(s.entries[0].description, kExact);
    EXPECT_FALSE(DescriptionMayBeLossy(s.entries[0]));
    // Never read: the listing's text stands, and its "?" may be a loss.
    EXPECT_FALSE(s.entries[1].descriptionExact);
    EXPECT_EQ(s.entries[1].description, L"Rescue?");
    EXPECT_TRUE(DescriptionMayBeLossy(s.entries[1]));
  }
}

}  // namespace
}  // namespace zel
