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

// Every field of every entry, one line each, so that whole lists compare at once.
std::vector<std::wstring> Rows(const BcdSnapshot& s) {
  std::vector<std::wstring> rows;
  for (const BootEntry& e : s.entries) {
    std::wstring row = e.identifier + L"|" + e.description + L"|" + e.device + L"|" + e.osDevice + L"|" + e.path +
                       L"|" + e.bootMenuPolicy + L"|" + std::to_wstring(e.displayOrderIndex);
    for (const auto& [on, flag] : {std::pair{e.isWindows, L" windows"}, {e.isWinPe, L" winpe"}, {e.isDefault, L" default"},
                                   {e.isCurrent, L" current"}, {e.isBootSequence, L" once"}, {e.inDisplayOrder, L" listed"}}) {
      if (on) row += flag;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(BcdParser, ReadsARealUefiStore) {
  BcdSnapshot s = Parse(test::kUefiListing);
  EXPECT_EQ(s.timeoutSeconds, 30);
  EXPECT_TRUE(s.displayBootMenu);
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{kWin11, kWinPe, kMemtest}));

  // Listed in menu order; the hidden recovery loader last; resume, options and firmware objects dropped.
  const std::wstring peDevice = L"ramdisk=[D:]\\sources\\boot.wim,{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}";
  EXPECT_EQ(Rows(s), (std::vector<std::wstring>{
                         kWin11 + L"|Windows 11|partition=C:|partition=C:|\\Windows\\system32\\winload.efi|Standard|1"
                                  L" windows default listed",
                         kWinPe + L"|WinPE Rescue|" + peDevice + L"|" + peDevice +
                             L"|\\windows\\system32\\boot\\winload.efi|Legacy|2 windows winpe listed",
                         kMemtest + L"|Windows Memory Diagnostic|partition=\\Device\\HarddiskVolume1||"
                                    L"\\EFI\\Microsoft\\Boot\\memtest.efi|Standard|3 listed",
                         kRecovery + L"|Windows Recovery Environment|ramdisk=[\\Device\\HarddiskVolume4]\\Recovery\\"
                                     L"WindowsRE\\Winre.wim,{3c7a8b31-0b1c-11ef-9c2a-806e6f6e6963}||"
                                     L"\\windows\\system32\\winload.efi|Standard|0 windows winpe",
                     }));
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
  // Four dashes start nothing; dashes with blanks around do.
  const std::wstring text = L"Title\r\n----\r\nidentifier " + Id(1) + L"\r\n" + winload +
                            L"Title\r\n   -----   \r\nidentifier {3C7A8B2E-AAAA-11EF-9C2A-806E6F6E6963}\r\n" + winload;
  BcdSnapshot s = Parse(text);
  ASSERT_EQ(s.entries.size(), 1u);
  EXPECT_EQ(s.entries[0].identifier, L"{3c7a8b2e-aaaa-11ef-9c2a-806e6f6e6963}");

  // Without any dash line: loaded, nothing else.
  BcdSnapshot none = Parse(L"The boot configuration data store could not be opened.\r\n" + winload);
  EXPECT_TRUE(none.entries.empty());
  EXPECT_TRUE(none.displayOrder.empty());
  EXPECT_EQ(none.timeoutSeconds, 10);
  EXPECT_TRUE(none.displayBootMenu);
}

TEST(BcdParser, TitlesAliasesAndOtherLanguages) {
  const std::wstring winload = L"path                    \\Windows\\system32\\winload.efi\r\n";
  const std::wstring row = L"|||\\Windows\\system32\\winload.efi|Standard|";
  const std::wstring manager = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
  struct Case {
    std::wstring listing;
    std::vector<std::wstring> rows;
    int32_t timeout;
  };
  const Case cases[] = {
      // No titles: the last element above the dashes stays with its object.
      {L"-----\r\nidentifier " + Id(1) + L"\r\n" + winload + L"description Windows 11\r\n-----\r\nidentifier " + Id(2) +
           L"\r\n" + winload,
       {Id(1) + L"|Windows 11" + row + L"1 windows listed", Id(2) + L"|Windows Boot Entry" + row + L"2 windows listed"}, 10},
      // Without /v (German): objects named by an alias are skipped whole, the others read.
      {L"\r\nWindows-Start-Manager\r\n---------------------\r\nBezeichner              {bootmgr}\r\ntimeout 5\r\n"
       L"\r\nWindows-Startladeprogramm\r\n-------------------------\r\nBezeichner              " + Id(1) + L"\r\n" +
           winload + L"description Windows 11\r\n\r\nWindows-Startladeprogramm\r\n-------------------------\r\n"
           L"Bezeichner              {current}\r\n" + winload + L"description Windows 10\r\n",
       {Id(1) + L"|Windows 11" + row + L"1 windows listed"}, 10},
      // Chinese titles and identifier key, the rest English.
      {L"\r\nWindows 启动管理器\r\n--------------------\r\n标识符                  " + manager + L"\r\ndisplayorder " +
           Id(2) + L"\r\ntimeout                 7\r\n\r\nWindows 启动加载器\r\n-------------------\r\n标识符                  " +
           Id(2) + L"\r\n" + winload + L"description             Windows 11\r\n",
       {Id(2) + L"|Windows 11" + row + L"1 windows listed"}, 7},
  };
  for (const auto& c : cases) {
    const BcdSnapshot s = Parse(c.listing);
    EXPECT_EQ(Rows(s), c.rows);
    EXPECT_EQ(s.timeoutSeconds, c.timeout);
    EXPECT_TRUE(s.suspectIds.empty());
  }
}

TEST(BcdParser, DuplicatedIdentifiersAreSuspectAndShownOnce) {
  const std::wstring winload = L"path \\Windows\\system32\\winload.efi\r\n";
  const std::wstring manager = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
  // A description with line breaks prints a block for a real loader and one for the boot manager.
  const std::wstring forged = L"description Tools\r\n\r\nWindows Boot Loader\r\n-------------------\r\nidentifier " +
                              Id(2) + L"\r\ndescription Old test entry - safe to delete\r\n" + winload +
                              L"Windows Boot Manager\r\n--------------------\r\nidentifier " + manager +
                              L"\r\ndefault " + Id(3) + L"\r\ntimeout 0\r\n";
  const BcdSnapshot s = Parse(Manager(L"default " + Id(1) + L"\r\ndisplayorder " + Id(1) + L"\r\n  " + Id(2) +
                                      L"\r\ntimeout 30\r\n") +
                              Loader(Id(1), winload + L"description Windows 11\r\n") +
                              Loader(Id(2), winload + L"description Windows 10\r\n") + Loader(Id(3), winload + forged) +
                              Loader(Id(1), winload + L"description Copy\r\n"));  // a genuine duplicate
  const std::wstring row = L"|||\\Windows\\system32\\winload.efi|Standard|";
  EXPECT_EQ(Rows(s), (std::vector<std::wstring>{Id(1) + L"|Windows 11" + row + L"1 windows default listed",
                                                Id(2) + L"|Windows 10" + row + L"2 windows listed",
                                                Id(3) + L"|Tools" + row + L"0 windows"}));
  EXPECT_EQ(s.defaultId, Id(1));
  EXPECT_EQ(s.timeoutSeconds, 30);
  EXPECT_EQ(s.suspectIds, (std::vector<std::wstring>{Id(2), manager, Id(1)}));
  EXPECT_TRUE(IsSuspect(s, L"{9DEA862C-5CDD-4E70-ACC1-F32B344D4795}"));
  EXPECT_FALSE(IsSuspect(s, Id(3)));
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
  // Windows by its loader, WinPE by a true winpe element; a missing description names the kind.
  EXPECT_EQ(Rows(Parse(text)), (std::vector<std::wstring>{
                                   Id(1) + L"|Windows Boot Entry|||\\WINDOWS\\system32\\WINLOAD.EFI|Standard|1 windows listed",
                                   Id(2) + L"|Windows Boot Entry|||\\ntldr|Standard|2 windows listed",
                                   Id(3) + L"|Windows PE||||Standard|3 winpe listed",
                                   Id(4) + L"|Boot Entry||||Standard|4 listed",
                                   Id(5) + L"|Tools||||Standard|5 listed",
                               }));
}

TEST(BcdParser, HiddenEntriesAndStoresWithoutAMenu) {
  const std::wstring winload = L"path \\Windows\\system32\\winload.exe\r\n";
  const std::wstring memtest = L"\r\nWindows Memory Tester\r\n---------------------\r\nidentifier " + Id(7) +
                               L"\r\npath \\boot\\memtest.exe\r\n";
  // Listed: 2 then the memory tester; 1 and 3 hidden, kept in printed order after them.
  BcdSnapshot s = Parse(Manager(L"displayorder " + Id(2) + L"\r\n  " + Id(7) + L"\r\n") + Loader(Id(3), winload) +
                        Loader(Id(1), winload) + Loader(Id(2), winload) + memtest);
  const std::wstring winloadRow = L"||\\Windows\\system32\\winload.exe|Standard|";
  EXPECT_EQ(Rows(s), (std::vector<std::wstring>{Id(2) + L"|Windows Boot Entry|" + winloadRow + L"1 windows listed",
                                                Id(7) + L"|Boot Entry|||\\boot\\memtest.exe|Standard|2 listed",
                                                Id(3) + L"|Windows Boot Entry|" + winloadRow + L"0 windows",
                                                Id(1) + L"|Windows Boot Entry|" + winloadRow + L"0 windows"}));

  // An unlisted memory tester is dropped.
  EXPECT_EQ(Parse(Manager(L"displayorder " + Id(2) + L"\r\n") + Loader(Id(2), winload) + memtest).entries.size(), 1u);

  // No displayorder: every Windows entry is in the menu, numbered in printed order.
  BcdSnapshot bare = Parse(Manager(L"timeout 3\r\n") + Loader(Id(5), winload) + Loader(Id(4), winload) + memtest);
  EXPECT_EQ(Rows(bare), (std::vector<std::wstring>{Id(5) + L"|Windows Boot Entry|" + winloadRow + L"1 windows listed",
                                                   Id(4) + L"|Windows Boot Entry|" + winloadRow + L"2 windows listed"}));
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

// The repair switches: each one read from its own element, booleans in any of the
// spellings bcdedit accepts, a safe mode element without a known value still safe mode.
TEST(BcdParser, BootOptionsOfAWindowsEntry) {
  std::wstring order = L"displayorder            " + Id(1) + L"\r\n";
  for (int i = 2; i <= 5; ++i) order += L"                        " + Id(i) + L"\r\n";
  const BcdSnapshot s = Parse(Manager(order) +
                              Loader(Id(1), L"safeboot                Network\r\nsafebootalternateshell  Yes\r\n"
                                            L"bootlog                 Yes\r\nbasevideo               On\r\n"
                                            L"quietboot               1\r\nsos                     true\r\n"
                                            L"testsigning             Yes\r\nnointegritychecks       Yes\r\n"
                                            L"recoveryenabled         No\r\nbootstatuspolicy        IgnoreAllFailures\r\n"
                                            L"advancedoptions         Yes\r\nonetimeadvancedoptions  Yes\r\n") +
                              Loader(Id(2), L"safeboot                DsRepair\r\ntestsigning             No\r\n"
                                            L"recoveryenabled         Yes\r\n") +
                              Loader(Id(3), L"safeboot                Minimal\r\n") + Loader(Id(4), L"safeboot  Other\r\n") +
                              Loader(Id(5), L"description             Plain\r\n"));
  ASSERT_EQ(s.entries.size(), 5u);
  const BootOptions& all = s.entries[0].options;
  EXPECT_EQ(all.safeBoot, SafeBoot::Network);
  for (bool on : {all.alternateShell, all.bootLog, all.baseVideo, all.quietBoot, all.sos, all.testSigning,
                  all.noIntegrityChecks, all.recoveryDisabled, all.advancedOptions, all.oneTimeAdvancedOptions}) {
    EXPECT_TRUE(on);
  }
  EXPECT_EQ(all.bootStatusPolicy, L"IgnoreAllFailures");
  const BootOptions& some = s.entries[1].options;
  EXPECT_EQ(some.safeBoot, SafeBoot::DsRepair);
  EXPECT_FALSE(some.testSigning || some.recoveryDisabled || some.alternateShell);
  EXPECT_EQ(s.entries[2].options.safeBoot, SafeBoot::Minimal);
  EXPECT_EQ(s.entries[3].options.safeBoot, SafeBoot::Minimal);
  const BootOptions& none = s.entries[4].options;
  EXPECT_EQ(none.safeBoot, SafeBoot::Off);
  EXPECT_FALSE(none.testSigning || none.noIntegrityChecks || none.recoveryDisabled || none.bootLog);
  EXPECT_EQ(s.entries[4].description, L"Plain");

  // In another display language only the titles and the identifier key change.
  const BcdSnapshot german = Parse(L"\r\nWindows-Startladeprogramm\r\n-------------------------\r\nBezeichner              " +
                                   Id(1) + L"\r\npath \\Windows\\system32\\winload.efi\r\nsafeboot                Minimal\r\n"
                                   L"safebootalternateshell  Yes\r\nnointegritychecks       Yes\r\n");
  ASSERT_EQ(german.entries.size(), 1u);
  EXPECT_TRUE(german.entries[0].options.safeBoot == SafeBoot::Minimal && german.entries[0].options.alternateShell &&
              german.entries[0].options.noIntegrityChecks);
}

}  // namespace
}  // namespace zel
