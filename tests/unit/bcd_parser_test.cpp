#include "core/bcd_parser.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/listings.h"

namespace zel {
namespace {

using test::Block;
using test::Line;
const auto Id = test::Guid;
const std::wstring kWin11 = L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kWinPe = L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}";
const std::wstring kMemtest = L"{b2721d73-1db4-4c62-bf78-c548a880142d}";
const std::wstring kRecovery = L"{3c7a8b30-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kWinload = L"path \\Windows\\system32\\winload.efi\r\n";
// What a Windows loader with only kWinload shows after its description.
const std::wstring kWinloadRow = L"|||\\Windows\\system32\\winload.efi|Standard|";

BcdSnapshot Parse(const std::wstring& listing) {
  BcdSnapshot snapshot{.loaded = true};
  ParseListing(listing, snapshot);
  return snapshot;
}

std::wstring Manager(const std::wstring& elements) { return Block(L"Windows Boot Manager", BootManagerGuid, elements); }
std::wstring Loader(const std::wstring& id, const std::wstring& elements) {
  return Block(L"Windows Boot Loader", id, elements);
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

// The repair switches that are on: the safe mode's kind, the switches, then the status policy.
std::wstring Options(const BootOptions& o) {
  std::wstring text = std::array{L"", L"Minimal", L"Network", L"DsRepair"}[static_cast<size_t>(o.safeBoot)];
  for (const auto& [on, name] : {std::pair{o.alternateShell, L" shell"}, {o.bootLog, L" log"}, {o.baseVideo, L" video"},
                                 {o.quietBoot, L" quiet"}, {o.sos, L" sos"}, {o.testSigning, L" signing"},
                                 {o.noIntegrityChecks, L" unchecked"}, {o.recoveryDisabled, L" norecovery"},
                                 {o.advancedOptions, L" advanced"}, {o.oneTimeAdvancedOptions, L" once"}}) {
    if (on) text += name;
  }
  return o.bootStatusPolicy.empty() ? text : text + L" " + o.bootStatusPolicy;
}

TEST(BcdParser, ReadsARealUefiStore) {
  BcdSnapshot s = Parse(test::kUefiListing);
  EXPECT_EQ(s.timeoutSeconds, 30);
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

// Shapes of listings, read into rows. The running entry, and a default named both by
// /enum {default} and the manager, are in the store's tests.
TEST(BcdParser, ListingShapesTitlesAndLanguages) {
  const std::wstring winload = Line(L"path", L"\\Windows\\system32\\winload.efi");
  const std::wstring bios = L"path \\Windows\\system32\\winload.exe\r\n";
  const std::wstring biosRow = L"|Windows Boot Entry|||\\Windows\\system32\\winload.exe|Standard|";
  const std::wstring memtest = Block(L"Windows Memory Tester", Id(7), L"path \\boot\\memtest.exe\r\n");
  struct Case {
    const char* name;
    std::wstring listing;
    std::vector<std::wstring> rows;
    int32_t timeout = 10;
  };
  const Case cases[] = {
      {"four dashes start nothing; dashes with blanks around do",
       L"Title\r\n----\r\nidentifier " + Id(1) + L"\r\n" + kWinload +
           L"Title\r\n   -----   \r\nidentifier {3C7A8B2E-AAAA-11EF-9C2A-806E6F6E6963}\r\n" + kWinload,
       {L"{3c7a8b2e-aaaa-11ef-9c2a-806e6f6e6963}|Windows Boot Entry" + kWinloadRow + L"1 windows listed"}},
      {"no dash line at all", L"The boot configuration data store could not be opened.\r\n" + kWinload, {}},
      {"no titles: the last element above the dashes stays with its object",
       L"-----\r\nidentifier " + Id(1) + L"\r\n" + winload + L"description Windows 11\r\n-----\r\nidentifier " + Id(2) +
           L"\r\n" + winload,
       {Id(1) + L"|Windows 11" + kWinloadRow + L"1 windows listed",
        Id(2) + L"|Windows Boot Entry" + kWinloadRow + L"2 windows listed"}},
      {"without /v (German): objects named by an alias are skipped whole, the others read",
       Block(L"Windows-Start-Manager", L"{bootmgr}", L"timeout 5\r\n", L"Bezeichner") +
           Block(L"Windows-Startladeprogramm", Id(1), winload + L"description Windows 11\r\n", L"Bezeichner") +
           Block(L"Windows-Startladeprogramm", L"{current}", winload + L"description Windows 10\r\n", L"Bezeichner"),
       {Id(1) + L"|Windows 11" + kWinloadRow + L"1 windows listed"}},
      {"Chinese titles and identifier key, the rest English; a title's dashes need not match its length",
       L"\r\nWindows 启动管理器\r\n--------------------\r\n标识符                  " + BootManagerGuid +
           L"\r\ndisplayorder " + Id(2) + L"\r\ntimeout                 7\r\n\r\nWindows 启动加载器\r\n" +
           L"-------------------\r\n标识符                  " + Id(2) + L"\r\n" + winload +
           L"description             Windows 11\r\n",
       {Id(2) + L"|Windows 11" + kWinloadRow + L"1 windows listed"},
       7},
      {"Windows by its loader, WinPE by a true winpe element; a missing description names the kind",
       Manager(L"displayorder " + Id(1) + L"\r\n " + Id(2) + L"\r\n " + Id(3) + L"\r\n " + Id(4) + L"\r\n " + Id(5) +
               L"\r\n") +
           Loader(Id(1), L"path \\WINDOWS\\system32\\WINLOAD.EFI\r\n") + Loader(Id(2), L"path \\ntldr\r\n") +
           Loader(Id(3), L"winpe TRUE\r\n") + Loader(Id(4), L"winpe no\r\n") +
           Loader(Id(5), L"Description   My  Tools  \r\nwinpe yes please\r\n"),
       {Id(1) + L"|Windows Boot Entry|||\\WINDOWS\\system32\\WINLOAD.EFI|Standard|1 windows listed",
        Id(2) + L"|Windows Boot Entry|||\\ntldr|Standard|2 windows listed",
        Id(3) + L"|Windows PE||||Standard|3 winpe listed", Id(4) + L"|Boot Entry||||Standard|4 listed",
        Id(5) + L"|My  Tools||||Standard|5 listed"}},
      {"listed: 2 then the memory tester; 1 and 3 hidden, kept in printed order after them",
       Manager(L"displayorder " + Id(2) + L"\r\n  " + Id(7) + L"\r\n") + Loader(Id(3), bios) + Loader(Id(1), bios) +
           Loader(Id(2), bios) + memtest,
       {Id(2) + biosRow + L"1 windows listed", Id(7) + L"|Boot Entry|||\\boot\\memtest.exe|Standard|2 listed",
        Id(3) + biosRow + L"0 windows", Id(1) + biosRow + L"0 windows"}},
      {"an unlisted memory tester is dropped",
       Manager(L"displayorder " + Id(2) + L"\r\n") + Loader(Id(2), bios) + memtest,
       {Id(2) + biosRow + L"1 windows listed"}},
      {"no displayorder: every Windows entry is in the menu, numbered in printed order",
       Manager(L"timeout 3\r\n") + Loader(Id(5), bios) + Loader(Id(4), bios) + memtest,
       {Id(5) + biosRow + L"1 windows listed", Id(4) + biosRow + L"2 windows listed"},
       3},
      {"a one-time boot entry",
       Manager(Line(L"bootsequence", Id(2)) + L"   " + Id(1) + L"\r\n") + Loader(Id(1), kWinload) +
           Loader(Id(2), kWinload),
       {Id(1) + L"|Windows Boot Entry" + kWinloadRow + L"1 windows listed",
        Id(2) + L"|Windows Boot Entry" + kWinloadRow + L"2 windows once listed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BcdSnapshot s = Parse(c.listing);
    EXPECT_EQ(Rows(s), c.rows);
    EXPECT_EQ(s.timeoutSeconds, c.timeout);
    EXPECT_TRUE(s.suspectIds.empty());
  }
}

TEST(BcdParser, DuplicatedIdentifiersAreSuspectAndShownOnce) {
  // A description with line breaks prints a block for a real loader and one for the boot manager.
  const std::wstring forged = L"description Tools\r\n" +
                              Block(L"Windows Boot Loader", Id(2), L"description Old test entry - safe to delete\r\n") +
                              kWinload + L"Windows Boot Manager\r\n--------------------\r\nidentifier " + BootManagerGuid +
                              L"\r\ndefault " + Id(3) + L"\r\ntimeout 0\r\n";
  const BcdSnapshot s = Parse(Manager(L"default " + Id(1) + L"\r\ndisplayorder " + Id(1) + L"\r\n  " + Id(2) +
                                      L"\r\ntimeout 30\r\n") +
                              Loader(Id(1), kWinload + L"description Windows 11\r\n") +
                              Loader(Id(2), kWinload + L"description Windows 10\r\n") + Loader(Id(3), kWinload + forged) +
                              Loader(Id(1), kWinload + L"description Copy\r\n"));  // a genuine duplicate
  EXPECT_EQ(Rows(s), (std::vector<std::wstring>{Id(1) + L"|Windows 11" + kWinloadRow + L"1 windows default listed",
                                                Id(2) + L"|Windows 10" + kWinloadRow + L"2 windows listed",
                                                Id(3) + L"|Tools" + kWinloadRow + L"0 windows"}));
  EXPECT_EQ(s.defaultId, Id(1));
  EXPECT_EQ(s.timeoutSeconds, 30);
  EXPECT_EQ(s.suspectIds, (std::vector<std::wstring>{Id(2), BootManagerGuid, Id(1)}));
  EXPECT_TRUE(IsSuspect(s, L"{9DEA862C-5CDD-4E70-ACC1-F32B344D4795}"));
  EXPECT_FALSE(IsSuspect(s, Id(3)));
}

TEST(BcdParser, DisplayOrderContinuesOnIndentedLinesOnly) {
  const std::wstring indent(24, L' ');
  BcdSnapshot s = Parse(Manager(Line(L"displayorder", Id(1)) + indent + Id(2) + L"\r\n\t" + Id(3) + L"\r\n" + indent +
                                Id(1) + L"\r\n" + indent + Id(4) + L"\r\n\r\n" + Line(L"toolsdisplayorder", Id(9)) +
                                L"timeout 5\r\n        " + Id(8) + L"\r\n"));
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{Id(1), Id(2), Id(3), Id(4)}));
  EXPECT_EQ(s.timeoutSeconds, 5);
}

TEST(BcdParser, ManagerValues) {
  const std::tuple<std::wstring, int32_t, bool> cases[] = {  // elements, time-out, menu shown
      {L"timeout abc\r\n", 10, true},          {L"timeout 5\r\n", 5, true},
      {L"timeout -3x\r\n", -3, true},          {L"timeout 99999999999\r\n", 10, true},
      {L"timeout 2147483647\r\n", 2147483647, true}, {L"timeout\r\n", 10, true},
      {L"displaybootmenu NO\r\n", 10, false},  {L"displaybootmenu false\r\n", 10, false},
      {L"displaybootmenu Yes\r\n", 10, true},  {L"displaybootmenu\r\n", 10, true},
  };
  for (const auto& [elements, timeout, menu] : cases) {
    BcdSnapshot s = Parse(Manager(elements));
    EXPECT_EQ(s.timeoutSeconds, timeout) << std::string(elements.begin(), elements.end());
    EXPECT_EQ(s.displayBootMenu, menu) << std::string(elements.begin(), elements.end());
  }
}

// The repair switches: each one read from its own element, booleans in any of the
// spellings bcdedit accepts, a safe mode element without a known value still safe mode;
// in another display language only the titles and the identifier key change.
TEST(BcdParser, BootOptionsOfAWindowsEntry) {
  std::wstring order = Line(L"displayorder", Id(1));
  for (int i = 2; i <= 5; ++i) order += std::wstring(24, L' ') + Id(i) + L"\r\n";
  const BcdSnapshot s = Parse(Manager(order) +
                              Loader(Id(1), L"safeboot                Network\r\nsafebootalternateshell  Yes\r\n"
                                            L"bootlog                 Yes\r\nbasevideo               On\r\n"
                                            L"quietboot               1\r\nsos                     true\r\n"
                                            L"testsigning             Yes\r\nnointegritychecks       Yes\r\n"
                                            L"recoveryenabled         No\r\nbootstatuspolicy        IgnoreAllFailures\r\n"
                                            L"advancedoptions         Yes\r\nonetimeadvancedoptions  Yes\r\n") +
                              Loader(Id(2), L"safeboot                DsRepair\r\ntestsigning             No\r\n"
                                            L"recoveryenabled         Yes\r\n") +
                              Block(L"Windows-Startladeprogramm", Id(3), L"safeboot  Minimal\r\nsafebootalternateshell  Yes\r\n",
                                    L"Bezeichner") +
                              Loader(Id(4), L"safeboot  Other\r\n") +
                              Loader(Id(5), L"description             Plain\r\n"));
  std::vector<std::wstring> options;
  for (const BootEntry& e : s.entries) options.push_back(Options(e.options));
  EXPECT_EQ(options, (std::vector<std::wstring>{
                         L"Network shell log video quiet sos signing unchecked norecovery advanced once IgnoreAllFailures",
                         L"DsRepair", L"Minimal shell", L"Minimal", L""}));
  EXPECT_EQ(s.entries[4].description, L"Plain");
}

}  // namespace
}  // namespace zel
