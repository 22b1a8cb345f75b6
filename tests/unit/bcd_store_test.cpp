#include "core/bcd_store.h"

#include <gtest/gtest.h>

#include "tests/support/language_guard.h"
#include "tests/support/fake_platform.h"
#include "tests/support/listings.h"

namespace zel {
namespace {

const std::wstring kWin11 = L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kWinPe = L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}";

TEST(LoadBcdSnapshot, SystemStoreRunsThreeEnumerationsInOrder) {
  test::FakePlatform fake;
  fake.Reply(0, test::kUefiListing);
  fake.Reply(0, L"\r\nWindows Boot Loader\r\n---\r\nidentifier " + kWin11);
  fake.Reply(0, L"\r\nWindows Boot Loader\r\n---\r\nidentifier " + kWinPe);
  BcdSnapshot s = LoadBcdSnapshot(L"");

  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/enum all /v", L"/enum {default} /v", L"/enum {current} /v"}));
  EXPECT_TRUE(s.loaded);
  EXPECT_TRUE(s.error.empty());
  EXPECT_EQ(s.rawText, test::kUefiListing);
  EXPECT_EQ(s.currentId, kWinPe);
  ASSERT_GE(s.entries.size(), 2u);
  EXPECT_TRUE(s.entries[1].isCurrent);
  EXPECT_FALSE(s.entries[0].isCurrent);
}

TEST(LoadBcdSnapshot, StoreFileNeverAsksForTheRunningEntry) {
  test::FakePlatform fake;
  // The file's manager has no default element: the {default} answer is used.
  fake.ReplyWhen(L"/enum all", 0,
                 L"\r\nWindows Boot Manager\r\n--------------------\r\n"
                 L"identifier {9dea862c-5cdd-4e70-acc1-f32b344d4795}\r\n"
                 L"\r\nWindows Boot Loader\r\n-------------------\r\nidentifier " +
                     kWin11 + L"\r\npath \\Windows\\system32\\winload.efi\r\n");
  fake.ReplyWhen(L"{default}", 0, L"identifier " + kWin11);
  BcdSnapshot s = LoadBcdSnapshot(L"E:\\Boot\\BCD");

  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/store \"E:\\Boot\\BCD\" /enum all /v",
                                                         L"/store \"E:\\Boot\\BCD\" /enum {default} /v"}));
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_TRUE(s.currentId.empty());
  ASSERT_EQ(s.entries.size(), 1u);
  EXPECT_TRUE(s.entries[0].isDefault);
  EXPECT_FALSE(s.entries[0].isCurrent);
}

TEST(LoadBcdSnapshot, AFailedListingIsTheOnlyFatalCase) {
  {
    test::FakePlatform fake;
    fake.Reply(1, L"The boot configuration data store could not be opened.");
    BcdSnapshot s = LoadBcdSnapshot(L"");
    EXPECT_EQ(fake.runs.size(), 1u);
    EXPECT_FALSE(s.loaded);
    EXPECT_EQ(s.error, L"The boot configuration data store could not be opened.");
    EXPECT_EQ(s.rawText, s.error);
  }
  {
    // Failed {default} and {current} runs are ignored.
    test::FakePlatform fake;
    fake.Reply(0, test::kUefiListing);
    fake.Reply(1, L"The specified entry identifier is not valid.");
    fake.Reply(2, L"Process timed out and was terminated.");
    BcdSnapshot s = LoadBcdSnapshot(L"");
    EXPECT_TRUE(s.loaded);
    EXPECT_EQ(s.defaultId, kWin11);  // from the manager's element
    EXPECT_TRUE(s.currentId.empty());
  }
  for (bool vietnamese : {false, true}) {
    test::LanguageGuard language(vietnamese);
    test::FakePlatform fake;
    fake.Reply(5, L"");
    BcdSnapshot s = LoadBcdSnapshot(L"");
    EXPECT_FALSE(s.loaded);
    EXPECT_EQ(s.error, vietnamese ? L"Không thể mở kho BCD." : L"Could not open the BCD store.");
    EXPECT_TRUE(s.entries.empty());
    EXPECT_EQ(s.timeoutSeconds, 10);
  }
}

}  // namespace
}  // namespace zel
