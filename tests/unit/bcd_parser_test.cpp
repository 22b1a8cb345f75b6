#include "core/bcd_parser.h"

#include <gtest/gtest.h>

#include "tests/support/listings.h"

namespace zel {
namespace {

const std::wstring kWin11 = L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kWinPe = L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}";
const std::wstring kMemtest = L"{b2721d73-1db4-4c62-bf78-c548a880142d}";
const std::wstring kRecovery = L"{3c7a8b30-0b1c-11ef-9c2a-806e6f6e6963}";

BcdSnapshot Parse(const std::wstring& listing) {
  BcdSnapshot snapshot;
  snapshot.loaded = true;
  ParseListing(listing, snapshot);
  return snapshot;
}

// A boot manager block with the given elements, then the given objects.
std::wstring Manager(const std::wstring& elements) {
  return L"\r\nWindows Boot Manager\r\n--------------------\r\n"
         L"identifier              {9dea862c-5cdd-4e70-acc1-f32b344d4795}\r\n" +
         elements;
}

std::wstring Loader(const std::wstring& id, const std::wstring& elements) {
  return L"\r\nWindows Boot Loader\r\n-------------------\r\nidentifier              " + id + L"\r\n" + elements;
}

std::wstring Id(int n) {
  wchar_t text[40];
  swprintf(text, 40, L"{%08x-0000-4000-8000-000000000000}", n);
  return text;
}

TEST(BcdParser, ReadsARealUefiStore) {
  BcdSnapshot s = Parse(test::kUefiListing);
  EXPECT_EQ(s.timeoutSeconds, 30);
  EXPECT_TRUE(s.displayBootMenu);
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{kWin11, kWinPe, kMemtest}));

  // Listed in menu order; the hidden recovery loader last; resume, options and firmware objects dropped.
  ASSERT_EQ(s.entries.size(), 4u);
  const BootEntry& win = s.entries[0];
  EXPECT_EQ(win.identifier, kWin11);
  EXPECT_EQ(win.description, L"Windows 11");
  EXPECT_EQ(win.device, L"partition=C:");
  EXPECT_EQ(win.osDevice, L"partition=C:");
  EXPECT_EQ(win.path, L"\\Windows\\system32\\winload.efi");
  EXPECT_TRUE(win.isWindows);
  EXPECT_FALSE(win.isWinPe);
  EXPECT_TRUE(win.isDefault);
  EXPECT_EQ(win.displayOrderIndex, 1);

  const BootEntry& pe = s.entries[1];
  EXPECT_EQ(pe.identifier, kWinPe);
  EXPECT_TRUE(pe.isWinPe);
  EXPECT_FALSE(pe.isDefault);
  EXPECT_EQ(pe.bootMenuPolicy, L"Legacy");
  EXPECT_EQ(pe.device, L"ramdisk=[D:]\\sources\\boot.wim,{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}");

  const BootEntry& memtest = s.entries[2];
  EXPECT_EQ(memtest.identifier, kMemtest);
  EXPECT_FALSE(memtest.isWindows || memtest.isWinPe);
  EXPECT_EQ(memtest.displayOrderIndex, 3);
  EXPECT_EQ(memtest.bootMenuPolicy, L"Standard");

  const BootEntry& recovery = s.entries[3];
  EXPECT_EQ(recovery.identifier, kRecovery);
  EXPECT_FALSE(recovery.inDisplayOrder);
  EXPECT_EQ(recovery.displayOrderIndex, 0);
}

TEST(BcdParser, DefaultCurrentAndBootSequenceMarkTheirEntries) {
  BcdSnapshot s;
  s.defaultId = kWinPe;  // from /enum {default}; the manager's own element wins
  s.currentId = kWin11;
  ParseListing(test::kUefiListing, s);
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_TRUE(s.entries[0].isDefault && s.entries[0].isCurrent);
  EXPECT_FALSE(s.entries[1].isDefault || s.entries[1].isCurrent);

  BcdSnapshot once = Parse(Manager(L"bootsequence            " + Id(2) + L"\r\n                        " + Id(1) +
                                   L"\r\n") +
                           Loader(Id(1), L"path \\Windows\\system32\\winload.efi\r\n") +
                           Loader(Id(2), L"path \\Windows\\system32\\winload.efi\r\n"));
  EXPECT_EQ(once.bootSequenceId, Id(2));
  ASSERT_EQ(once.entries.size(), 2u);
  EXPECT_FALSE(once.entries[0].isBootSequence);
  EXPECT_TRUE(once.entries[1].isBootSequence);
}

TEST(BcdParser, BlocksStartOnlyAfterADashLineFollowedByAGuid) {
  const std::wstring winload = L"path \\Windows\\system32\\winload.efi\r\n";
  // Four dashes start nothing; dashes with blanks around do; an alias starts nothing,
  // so its lines join the block before it.
  const std::wstring text = L"Title\r\n----\r\nidentifier " + Id(1) + L"\r\n" + winload +
                            L"Title\r\n   -----   \r\nidentifier {3C7A8B2E-AAAA-11EF-9C2A-806E6F6E6963}\r\n" +
                            winload + L"description First\r\n" + L"Title\r\n-----\r\nidentifier {current}\r\n" +
                            L"description Second\r\n";
  BcdSnapshot s = Parse(text);
  ASSERT_EQ(s.entries.size(), 1u);
  EXPECT_EQ(s.entries[0].identifier, L"{3c7a8b2e-aaaa-11ef-9c2a-806e6f6e6963}");
  EXPECT_EQ(s.entries[0].description, L"Second");  // the last occurrence wins

  // Without any dash line: loaded, nothing else.
  BcdSnapshot none = Parse(L"The boot configuration data store could not be opened.\r\n" + winload);
  EXPECT_TRUE(none.entries.empty());
  EXPECT_TRUE(none.displayOrder.empty());
  EXPECT_EQ(none.timeoutSeconds, 10);
  EXPECT_TRUE(none.displayBootMenu);
}

TEST(BcdParser, DisplayOrderContinuesOnIndentedLinesOnly) {
  BcdSnapshot s = Parse(Manager(L"displayorder            " + Id(1) + L"\r\n                        " + Id(2) +
                                L"\r\n\t" + Id(3) + L"\r\n                        " + Id(1) +
                                L"\r\n                        " + Id(4) + L"\r\n\r\n" +
                                L"toolsdisplayorder       " + Id(9) + L"\r\ntimeout 5\r\n" + L"        " + Id(8) +
                                L"\r\n"));
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{Id(1), Id(2), Id(3), Id(4)}));
  EXPECT_EQ(s.timeoutSeconds, 5);
}

TEST(BcdParser, ManagerValues) {
  struct Case {
    std::wstring elements;
    int32_t timeout;
    bool menu;
  };
  const Case cases[] = {
      {L"timeout abc\r\n", 10, true},
      {L"timeout 5\r\n", 5, true},
      {L"timeout -3x\r\n", -3, true},
      {L"timeout 99999999999\r\n", 10, true},
      {L"timeout 2147483647\r\n", 2147483647, true},
      {L"timeout\r\n", 10, true},
      {L"displaybootmenu NO\r\n", 10, false},
      {L"displaybootmenu false\r\n", 10, false},
      {L"displaybootmenu Yes\r\n", 10, true},
      {L"displaybootmenu\r\n", 10, true},
  };
  for (const auto& c : cases) {
    BcdSnapshot s = Parse(Manager(c.elements));
    EXPECT_EQ(s.timeoutSeconds, c.timeout) << std::string(c.elements.begin(), c.elements.end());
    EXPECT_EQ(s.displayBootMenu, c.menu) << std::string(c.elements.begin(), c.elements.end());
  }
}

TEST(BcdParser, ClassifiesEntries) {
  const std::wstring text = Manager(L"displayorder " + Id(1) + L"\r\n " + Id(2) + L"\r\n " + Id(3) + L"\r\n " +
                                    Id(4) + L"\r\n " + Id(5) + L"\r\n") +
                            Loader(Id(1), L"path \\WINDOWS\\system32\\WINLOAD.EFI\r\n") +
                            Loader(Id(2), L"path \\ntldr\r\n") + Loader(Id(3), L"winpe TRUE\r\n") +
                            Loader(Id(4), L"winpe no\r\n") +
                            Loader(Id(5), L"description   Tools  \r\nwinpe yes please\r\n");
  BcdSnapshot s = Parse(text);
  ASSERT_EQ(s.entries.size(), 5u);
  EXPECT_TRUE(s.entries[0].isWindows);
  EXPECT_EQ(s.entries[0].description, L"Windows Boot Entry");
  EXPECT_TRUE(s.entries[1].isWindows);
  EXPECT_TRUE(s.entries[2].isWinPe);
  EXPECT_EQ(s.entries[2].description, L"Windows PE");
  EXPECT_FALSE(s.entries[3].isWinPe || s.entries[3].isWindows);
  EXPECT_EQ(s.entries[3].description, L"Boot Entry");
  EXPECT_FALSE(s.entries[4].isWinPe);
  EXPECT_EQ(s.entries[4].description, L"Tools");
}

TEST(BcdParser, HiddenEntriesAndStoresWithoutAMenu) {
  const std::wstring winload = L"path \\Windows\\system32\\winload.exe\r\n";
  const std::wstring memtest = L"\r\nWindows Memory Tester\r\n---------------------\r\nidentifier " + Id(7) +
                               L"\r\npath \\boot\\memtest.exe\r\n";
  // Listed: 2 then the memory tester; 1 and 3 hidden, kept in printed order after them.
  BcdSnapshot s = Parse(Manager(L"displayorder " + Id(2) + L"\r\n  " + Id(7) + L"\r\n") + Loader(Id(3), winload) +
                        Loader(Id(1), winload) + Loader(Id(2), winload) + memtest);
  ASSERT_EQ(s.entries.size(), 4u);
  EXPECT_EQ(s.entries[0].identifier, Id(2));
  EXPECT_EQ(s.entries[1].identifier, Id(7));
  EXPECT_EQ(s.entries[1].displayOrderIndex, 2);
  EXPECT_EQ(s.entries[2].identifier, Id(3));
  EXPECT_EQ(s.entries[3].identifier, Id(1));
  EXPECT_FALSE(s.entries[3].inDisplayOrder);

  // An unlisted memory tester is dropped.
  EXPECT_EQ(Parse(Manager(L"displayorder " + Id(2) + L"\r\n") + Loader(Id(2), winload) + memtest).entries.size(), 1u);

  // No displayorder: every Windows entry is in the menu, numbered in printed order.
  BcdSnapshot bare = Parse(Manager(L"timeout 3\r\n") + Loader(Id(5), winload) + Loader(Id(4), winload) + memtest);
  ASSERT_EQ(bare.entries.size(), 2u);
  EXPECT_EQ(bare.entries[0].identifier, Id(5));
  EXPECT_TRUE(bare.entries[1].inDisplayOrder);
  EXPECT_EQ(bare.entries[1].displayOrderIndex, 2);
}

TEST(BcdParser, KeyValueSplitting) {
  EXPECT_EQ(ParseKeyValue(L"Description    Windows  11 ").key, L"description");
  EXPECT_EQ(ParseKeyValue(L"Description    Windows  11 ").value, L"Windows  11");
  EXPECT_EQ(ParseKeyValue(L"\t  {11111111-1111-1111-1111-111111111111}").key,
            L"{11111111-1111-1111-1111-111111111111}");
  EXPECT_EQ(ParseKeyValue(L"nx").value, L"");
  EXPECT_EQ(ParseKeyValue(L" \t ").key, L"");
  ObjectBlock manager{L"{9DEA862C-5CDD-4E70-ACC1-F32B344D4795}", {}};
  EXPECT_TRUE(IsBootManagerBlock(manager));
}

}  // namespace
}  // namespace zel
