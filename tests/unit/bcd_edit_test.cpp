#include "core/bcd_edit.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"
#include "tests/support/listings.h"

namespace zel {
namespace {

const std::wstring kEntry = L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}";
const std::wstring kOther = L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}";
const std::wstring kOptions = L"{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}";
using test::Block;

std::wstring RamdiskEntryListing(const std::wstring& options) {
  const std::wstring ramdisk = L"ramdisk=[D:]\\sources\\boot.wim," + options;
  return Block(L"Windows Boot Loader", kEntry, test::Line(L"device", ramdisk) + test::Line(L"osdevice", ramdisk) + L"winpe Yes");
}

// On a store file every command names it first, with its blanks quoted. The forms the program's
// card buttons and menu controls send (/default, /bootsequence, a longer /displayorder, Legacy,
// a time-out in range, the menu hidden) are compared exactly in the end-to-end flows.
TEST(BcdEdit, SingleCommandEditsBuildExactArguments) {
  for (const std::wstring store : {L"", L"E:\\Boot Files\\BCD"}) {
    test::FakePlatform fake;
    fake.ReplyWhen(L"", 0, L"The operation completed successfully.");
    Fault error = Said(L"stale");
    EXPECT_TRUE(RenameEntry(store, kEntry, L"  My \"PE\" \\ ", error));
    EXPECT_TRUE(error.empty());
    SetMenuTimeout(store, -5, error);
    SetMenuTimeout(store, 3601, error);
    SetDisplayBootMenu(store, true, error);
    SetDisplayOrder(store, {kOther}, error);
    SetBootMenuPolicy(store, kEntry, MenuPolicy::Standard, error);
    std::vector<std::wstring> expected = {
        L"/set " + kEntry + L" description \"My 'PE'\"",
        L"/timeout 0",
        L"/timeout 3600",
        L"/set {bootmgr} displaybootmenu yes",
        L"/displayorder " + kOther,
        L"/set " + kEntry + L" bootmenupolicy Standard",
    };
    for (auto& arguments : expected) arguments = (store.empty() ? L"" : L"/store \"" + store + L"\" ") + arguments;
    EXPECT_EQ(fake.Arguments(), expected);
  }
  EXPECT_EQ(PolicyOf(BootEntry{.bootMenuPolicy = L"legacy"}), MenuPolicy::Legacy);
  EXPECT_EQ(PolicyOf(BootEntry{.bootMenuPolicy = L"Fancy"}), MenuPolicy::Standard);
}

TEST(BcdEdit, RefusedInputRunsNothing) {
  test::FakePlatform fake;
  Fault error;
  EXPECT_FALSE(RenameEntry(L"", kEntry, L" \t\\\\ \r\n\\", error));
  EXPECT_EQ(error.kind, FaultKind::EmptyName);
  EXPECT_FALSE(SetDisplayOrder(L"", {}, error));
  EXPECT_EQ(error.kind, FaultKind::EmptyOrder);
  // Identifiers go onto the command line unquoted: only a GUID may.
  EXPECT_FALSE(SetDefaultEntry(L"", L"{x} /delete {bootmgr}", error));
  EXPECT_FALSE(SetDisplayOrder(L"", {kOther, L"{default}"}, error));
  EXPECT_FALSE(DeleteEntry(L"", kEntry + L" /f", error));
  EXPECT_EQ(error, (Fault{FaultKind::BadEntryId, kEntry + L" /f"}));
  EXPECT_TRUE(fake.runs.empty());
}

// A forced retry that fails too ends the delete with bcdedit's message and never touches the
// options object; an entry that could not be enumerated is still deleted.
TEST(BcdEdit, DeleteRetriesWithForceAndStopsOnFailure) {
  for (const bool forcedFails : {true, false}) {
    test::FakePlatform fake;
    fake.Reply(forcedFails ? 0 : 1, forcedFails ? RamdiskEntryListing(kOptions) : L"The entry could not be read.");
    fake.Reply(1, L"Access is denied.");
    fake.Reply(forcedFails ? 1 : 0, L"The boot configuration data store could not be opened.");
    Fault error = Said(L"stale");
    EXPECT_EQ(DeleteEntry(L"", kEntry, error), !forcedFails);
    EXPECT_EQ(error, forcedFails ? Said(L"The boot configuration data store could not be opened.") : Fault{});
    EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/enum " + kEntry + L" /v", L"/delete " + kEntry + L" /cleanup",
                                                           L"/delete " + kEntry + L" /cleanup /f"}));
  }
}

TEST(BcdEdit, DeleteTakesOnlyPrivateRamdiskOptionsAlong) {
  const std::wstring manager = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
  const std::wstring sdi = L"ramdisksdidevice        partition=D:\r\nramdisksdipath          \\boot\\boot.sdi\r\n";
  const std::wstring options = Block(L"Device options", kOptions, L"description             Ramdisk Options\r\n" + sdi);
  const std::wstring loader = Block(L"Windows Boot Loader", kOther, L"path \\Windows\\system32\\winload.efi\r\n" + sdi);
  const std::wstring bootManager = Block(L"Windows Boot Manager", manager, L"path \\EFI\\Microsoft\\Boot\\bootmgfw.efi\r\n");
  const std::wstring menu = Block(L"Windows Boot Manager", manager, L"displayorder " + kOther + L"\r\n");
  struct Case {
    std::wstring options;    // named after the comma of the entry's device
    std::wstring remaining;  // /enum all /v after the delete
    bool deleted;
    bool noted;
  };
  const Case cases[] = {
      {manager, bootManager + sdi, false, true},  // the boot manager, whatever it holds
      {kOther, menu + loader, false, true},       // a loader in the menu
      {kOther, bootManager + loader, false, true},  // a hidden loader
      {kOptions, bootManager + options, true, false},
      {kOptions, options + options, false, true},  // two blocks: a forged listing
      {kOptions, options + Block(L"Windows Boot Loader", kOther, L"device ramdisk=[E:]\\x.wim,{0D2E4F61-7A8B-4C9D-A0B1-C2D3E4F5A6B7}\r\n"),
       false, true},                              // shared, named in another case
      {kOptions, bootManager, false, false},      // already gone
      {RamdiskOptionsGuid, options, false, false},  // the shared well-known object: not even looked at
  };
  for (const auto& c : cases) {
    test::FakePlatform fake;
    fake.Reply(0, RamdiskEntryListing(c.options));
    fake.Reply(0, L"The operation completed successfully.");
    fake.Reply(0, c.remaining);
    Fault note;
    EXPECT_TRUE(DeleteEntry(L"D:\\BCD", kEntry, note));
    std::vector<std::wstring> expected = {L"/enum " + kEntry + L" /v", L"/delete " + kEntry + L" /cleanup"};
    if (c.options != RamdiskOptionsGuid) expected.push_back(L"/enum all /v");
    if (c.deleted) expected.push_back(L"/delete " + kOptions + L" /f");
    for (auto& arguments : expected) arguments = L"/store \"D:\\BCD\" " + arguments;
    EXPECT_EQ(fake.Arguments(), expected);
    EXPECT_EQ(note, (c.noted ? Fault{FaultKind::KeptOptions, c.options} : Fault{}));
  }
}

TEST(BcdEdit, OptionsIdComesFromTheEntrysOwnDeviceElement) {
  const std::wstring own = RamdiskEntryListing(kOptions);
  const std::wstring forged = L"\r\ndevice                  ramdisk=[D:]\\x.wim,{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
  const std::pair<std::wstring, std::wstring> cases[] = {
      {own + forged, kOptions},                                       // printed later by a description
      {own + L"\r\n" + Block(L"Windows Boot Loader", kEntry, forged), kOptions},  // a second block of the entry
      {Block(L"Windows Boot Loader", kEntry, L"osdevice ramdisk=[D:]\\a.wim," + kOptions), kOptions},
      {Block(L"Windows Boot Loader", kEntry, L"device partition=C:" + forged), L""},  // not a RAM disk
      {Block(L"Windows Boot Loader", kEntry, L"device ramdisk=[D:]\\a,b.wim,{bad}"), L""},
      {Block(L"Windows Boot Loader", kEntry, L"device ramdisk=[D:]\\a.wim," + kOptions + L" x"), L""},
      {Block(L"Windows Boot Loader", kEntry, L"device RAMDISK=[D:]\\a.wim," + kOptions), L""},  // the tool prints lower case
      {Block(L"Windows Boot Loader", kOther, L"device ramdisk=[D:]\\a.wim," + kOptions), L""},  // another object
  };
  for (const auto& [listing, expected] : cases) EXPECT_EQ(RamdiskOptionsIdIn(listing, kEntry), expected);
}

// The first entry moved up, the last moved down and a hidden one shown are driven through the cards end to end.
TEST(BcdEdit, DisplayOrderMoves) {
  const std::vector<std::wstring> order = {L"{a}", L"{b}", L"{c}"};
  EXPECT_EQ(*MoveInDisplayOrder(order, L"{B}", true), (std::vector<std::wstring>{L"{b}", L"{a}", L"{c}"}));
  EXPECT_EQ(*MoveInDisplayOrder(order, L"{b}", false), (std::vector<std::wstring>{L"{a}", L"{c}", L"{b}"}));
  EXPECT_FALSE(MoveInDisplayOrder(order, L"{z}", true));
}

}  // namespace
}  // namespace zel
