#include "core/firmware_order.h"

#include <gtest/gtest.h>

#include "core/bcd_model.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"
#include "tests/support/listings.h"

namespace zel {
namespace {

using Ids = std::vector<std::wstring>;
const std::wstring kFw = FirmwareBootManagerGuid, kMgr = BootManagerGuid;
const std::wstring kUsb = L"{1f0d7a52-8c3e-4b6a-9e21-5d4c3b2a1f00}", kPxe = L"{2a6c9e41-7b3d-4f58-a1c2-d3e4f5a6b7c8}";
const std::wstring kUbuntu = L"{3b7daf52-8c4e-4069-b2d3-e4f5a6b7c8d9}", kShell = L"{4c8eb063-9d5f-417a-83e4-f5a6b7c8d9ea}";
const std::wstring kVolume = L"partition=\\Device\\HarddiskVolume1", kIndent(24, L' ');

using test::Line;

// One object as bcdedit prints it; the title and the identifier key follow the display language.
std::wstring Block(const std::wstring& title, const std::wstring& key, const std::wstring& id, const std::wstring& rest) {
  return test::Block(title, id, rest, key);
}

// A USB stick first, then Windows, network boot (once) and ubuntu; an EFI shell outside the
// order. The Windows Boot Manager's own menu must not leak into the firmware's order.
std::wstring Listing(const std::array<std::wstring, 4>& words, const std::wstring& managerRest = L"") {
  const auto& [manager, windows, app, key] = words;
  return Block(manager, key, kFw, managerRest + Line(L"displayorder", kUsb) + kIndent + kMgr + L"\r\n" + kIndent +
                                      kPxe + L"\r\n" + kIndent + kUbuntu + L"\r\n" + Line(L"bootsequence", kPxe) +
                                      Line(L"timeout", L"2")) +
         Block(windows, key, kMgr, Line(L"device", kVolume) + Line(L"path", L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi") +
                                       Line(L"description", L"Windows Boot Manager") + Line(L"displayorder", kShell)) +
         Block(app, key, kUsb, Line(L"description", L"UEFI: SanDisk Cruzer Blade 1.00")) +
         Block(app, key, kPxe, Line(L"description", L"UEFI: PXE IPv4 Intel(R) Ethernet")) +
         Block(app, key, kUbuntu, Line(L"device", kVolume) + Line(L"path", L"\\EFI\\ubuntu\\shimx64.efi") +
                                      Line(L"description", L"ubuntu")) +
         Block(app, key, kShell, Line(L"description", L"EFI USB Device"));
}

const std::array<std::wstring, 4> kEnglishWords = {L"Firmware Boot Manager", L"Windows Boot Manager",
                                                   L"Firmware Application (101fffff)", L"identifier"};
const std::wstring kEnglish = Listing(kEnglishWords);

std::vector<std::wstring> Rows(const std::vector<FirmwareApp>& apps) {
  std::vector<std::wstring> rows;
  for (const auto& a : apps) {
    rows.push_back(a.identifier + L"|" + a.description + L"|" + a.device + L"|" + a.path +
                   (a.isWindowsBootManager ? L" windows" : L"") + (a.isBootSequence ? L" once" : L""));
  }
  return rows;
}

TEST(FirmwareOrder, ReadsTheOrderInEveryDisplayLanguage) {
  for (const std::wstring& listing :
       {kEnglish, Listing({L"Firmware-Start-Manager", L"Windows-Start-Manager", L"Firmwareanwendung (101fffff)", L"Bezeichner"}),
        Listing({L"Gestionnaire de démarrage du microprogramme", L"Gestionnaire de démarrage Windows",
                 L"Application du microprogramme (101fffff)", L"identificateur"})}) {
    const FirmwareOrder o = ParseFirmwareListing(listing);
    EXPECT_EQ(Rows(o.apps), (Ids{kUsb + L"|UEFI: SanDisk Cruzer Blade 1.00||",
                                 kMgr + L"|Windows Boot Manager|" + kVolume + L"|\\EFI\\Microsoft\\Boot\\bootmgfw.efi windows",
                                 kPxe + L"|UEFI: PXE IPv4 Intel(R) Ethernet|| once",
                                 kUbuntu + L"|ubuntu|" + kVolume + L"|\\EFI\\ubuntu\\shimx64.efi"}));
    EXPECT_EQ(Rows(o.unlisted), Ids{kShell + L"|EFI USB Device||"});
    EXPECT_EQ(o.timeoutSeconds, 2);
    EXPECT_TRUE(o.hasManager && o.suspectIds.empty() && !o.orderDamaged);
  }
}

// A forged or damaged listing is read as far as it goes, with every doubt recorded.
TEST(FirmwareOrder, DamagedAndHostileListings) {
  const auto& [manager, windows, app, key] = kEnglishWords;
  const Ids order = {kUsb, kMgr, kPxe, kUbuntu};
  const std::tuple<std::wstring, Ids, Ids, bool> cases[] = {  // listing, order, suspects, damaged
      // A description with line breaks: a second element in a block, a second manager and Windows Boot Manager.
      {kEnglish + Line(L"description", L"x") + Block(manager, key, kFw, Line(L"displayorder", kShell)) +
           Block(windows, key, kMgr, Line(L"description", L"Forged")),
       order, {kFw, kMgr}, false},
      {Listing(kEnglishWords, Line(L"description", L"Firmware Boot Manager identifier " + kShell)), order, {}, false},
      {Listing(kEnglishWords, Line(L"description", L"x") + L"    " + kShell + L"\r\n"), order, {}, false},
      {Listing(kEnglishWords, Line(L"displayorder", kUbuntu)), {kUbuntu, kUsb, kMgr, kPxe}, {kUbuntu}, true},
      {Block(manager, key, kFw, Line(L"displayorder", L"{bootmgr}") + L"   " + kUsb + L"\r\n   " + kUsb + L"\r\n  x y\r\n"),
       {kUsb}, {kUsb}, true},
      {Block(manager, key, L"{fwbootmgr}", Line(L"displayorder", kUsb)), {}, {}, false},  // without /v
  };
  for (const auto& [listing, expectedOrder, suspects, damaged] : cases) {
    const FirmwareOrder o = ParseFirmwareListing(listing);
    EXPECT_EQ(o.displayOrder, expectedOrder);
    EXPECT_EQ(o.suspectIds, suspects);
    EXPECT_EQ(o.orderDamaged, damaged);
    EXPECT_EQ(o.apps.size(), o.displayOrder.size());
  }
  const FirmwareOrder forged = ParseFirmwareListing(std::get<0>(cases[0]));
  EXPECT_EQ(forged.apps[1].description + L"|" + forged.unlisted[0].description, L"Windows Boot Manager|EFI USB Device");
  for (size_t length = 0; length <= kEnglish.size(); length += 7) {
    for (const auto& a : ParseFirmwareListing(kEnglish.substr(0, length)).apps) ASSERT_EQ(a.identifier.size(), 38u);
  }
}

TEST(FirmwareOrder, EachChangeIsOneRunOnTheSystemStore) {
  test::FakePlatform fake;
  fake.ReplyWhen(L"/enum", 0, kEnglish);
  fake.ReplyWhen(L"/set", 0, L"The operation completed successfully.");
  const FirmwareOrder o = LoadFirmwareOrder();
  EXPECT_TRUE(o.loaded && o.apps.size() == 4);
  EXPECT_EQ(fake.runs[0].timeoutMs, 120000u);
  Fault error = Said(L"stale");
  EXPECT_TRUE(MoveFirmwareApp(o, kPxe, FirmwareMove::Up, error) && error.empty());
  MoveFirmwareApp(o, L"{3B7DAF52-8C4E-4069-B2D3-E4F5A6B7C8D9}", FirmwareMove::First, error);  // ubuntu
  MoveFirmwareApp(o, kUsb, FirmwareMove::Down, error);
  for (const FirmwareMove move : {FirmwareMove::Up, FirmwareMove::First}) {
    EXPECT_TRUE(MoveFirmwareApp(o, kUsb, move, error));  // already first: nothing runs
  }
  EXPECT_TRUE(MoveFirmwareApp(o, kUbuntu, FirmwareMove::Down, error));
  SetFirmwareBootNext(o, L"{4C8EB063-9D5F-417A-83E4-F5A6B7C8D9EA}", error);  // the shell, outside the order
  const std::wstring set = L"/set {fwbootmgr} displayorder ";
  EXPECT_EQ(fake.Arguments(), (Ids{L"/enum firmware /v", set + kUsb + L" " + kPxe + L" " + kMgr + L" " + kUbuntu,
                                   set + kUbuntu + L" " + kUsb + L" " + kMgr + L" " + kPxe,
                                   set + kMgr + L" " + kUsb + L" " + kPxe + L" " + kUbuntu,
                                   L"/set {fwbootmgr} bootsequence " + kShell}));

  test::FakePlatform failing;
  failing.Reply(1, L"The boot configuration data store could not be opened.");
  EXPECT_EQ(LoadFirmwareOrder().error, Said(L"The boot configuration data store could not be opened."));
  failing.Reply(1, L"");
  EXPECT_EQ(LoadFirmwareOrder().error.kind, FaultKind::FirmwareOrderUnreadable);
}

// Nothing runs when the identifier, or the order it would be written into, cannot be trusted.
TEST(FirmwareOrder, RefusalsRunNothing) {
  const FirmwareOrder good = ParseFirmwareListing(kEnglish);
  FirmwareOrder twice = good, alias = good, suspect = good, suspectApp = good, damaged = good, headless = good;
  twice.displayOrder.push_back(kUsb);
  alias.displayOrder[1] = L"{bootmgr}";
  suspect.suspectIds = {kUbuntu};
  suspectApp.suspectIds = {kShell};
  damaged.orderDamaged = true;
  headless.hasManager = false;
  const std::tuple<const FirmwareOrder*, std::wstring, bool> cases[] = {  // order, id, boot next or move
      {&good, kUsb + L" /f", false}, {&good, L"{fwbootmgr}", true}, {&good, kShell, false},  {&good, kFw, true},
      {&twice, kPxe, false},         {&alias, kPxe, true},          {&suspect, kPxe, false}, {&suspectApp, kShell, true},
      {&damaged, kPxe, true},        {&headless, kPxe, false},
  };
  test::FakePlatform fake;
  for (const auto& [order, id, bootNext] : cases) {
    Fault error;
    EXPECT_FALSE(bootNext ? SetFirmwareBootNext(*order, id, error) : MoveFirmwareApp(*order, id, FirmwareMove::First, error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(fake.runs.empty());
}

}  // namespace
}  // namespace zel
