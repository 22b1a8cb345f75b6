#include "core/entry_create.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"
#include "tests/support/fault_print.h"

namespace zel {
namespace {

const std::wstring kNew = L"{11111111-2222-4333-8444-555555555555}";
const std::wstring kOptions = L"{aaaaaaaa-2222-4333-8444-555555555555}";

std::wstring Created(const std::wstring& id) { return L"The entry " + id + L" was successfully created."; }

// Windows on D:, a WinPE image and its boot.sdi there; bcdedit prints kOptions and kNew for the
// objects it creates and accepts everything else, but runs holding `failing` answer with `failure`.
struct Machine : test::FakePlatform {
  explicit Machine(const std::wstring& failing = L"", const std::wstring& failure = L"boom", int32_t exitCode = 1) {
    AddFolder(L"D:\\Windows");
    AddFile(L"D:\\sources\\boot.wim");
    AddFile(L"D:\\Boot\\boot.sdi");
    if (!failing.empty()) ReplyWhen(failing, exitCode, failure);
    ReplyWhen(L"/device", 0, Created(kOptions));
    ReplyWhen(L"/application osloader", 0, Created(kNew));
    ReplyWhen(L"", 0, L"The operation completed successfully.");
  }
  bool Ran(const std::wstring& arguments) const {
    const auto all = Arguments();
    return std::find(all.begin(), all.end(), arguments) != all.end();
  }
  // The last runs, as many as `count`.
  std::vector<std::wstring> Last(size_t count) const {
    const auto all = Arguments();
    return std::vector<std::wstring>(all.end() - static_cast<long>(std::min(count, all.size())), all.end());
  }
};

TEST(CreateWindowsEntry, BcdbootArgumentsFollowTheTarget) {
  struct Case {
    std::wstring store;
    bool legacy, setDefault;
    std::wstring arguments;
  };
  const Case cases[] = {
      {L"", false, false, L"\"D:\\Windows\" /d"},
      {L"S:\\EFI\\Microsoft\\Boot\\BCD", false, true, L"\"D:\\Windows\" /s S: /f UEFI"},
      {L"S:\\boot\\bcd", true, true, L"\"D:\\Windows\" /s S: /f BIOS"},
      {L"\\\\?\\Volume{0f0f0f0f-1111-2222-3333-444444444444}\\EFI\\Microsoft\\Boot\\BCD", false, true,
       L"\"D:\\Windows\""},  // the running system's store: no /s
  };
  for (const auto& c : cases) {
    test::FakePlatform fake;
    fake.registry[L"SYSTEM\\CurrentControlSet\\Control\\hivelist|\\REGISTRY\\MACHINE\\BCD00000000"] =
        L"\\Device\\HarddiskVolume1\\EFI\\Microsoft\\Boot\\BCD";
    fake.dosDevices[L"Volume{0f0f0f0f-1111-2222-3333-444444444444}"] = L"\\Device\\HarddiskVolume1";
    fake.AddFolder(L"D:\\Windows");
    fake.Reply(0, L"Boot files successfully created.");
    const WindowsEntryRequest request{
        .windowsDrive = L"d", .setDefault = c.setDefault, .useBcdboot = true, .legacyBios = c.legacy};
    std::wstring id = L"stale";
    Fault error;
    EXPECT_TRUE(CreateWindowsEntry(c.store, request, id, error));
    EXPECT_TRUE(id.empty());
    ASSERT_EQ(fake.runs.size(), 1u);
    EXPECT_EQ(fake.runs[0].program, L"C:\\Windows\\system32\\bcdboot.exe");
    EXPECT_EQ(fake.runs[0].arguments, c.arguments);
    EXPECT_EQ(fake.runs[0].timeoutMs, 600000u);
  }
  test::FakePlatform fake;  // the target's own bcdboot wins, and its failure is passed on
  fake.AddFolder(L"D:\\Windows");
  fake.AddFile(L"D:\\Windows\\System32\\bcdboot.exe");
  fake.Reply(1, L"Failure when attempting to copy boot files.");
  WindowsEntryRequest request{L"D:", L"", MenuPolicy::Standard, false, true, true, false};
  std::wstring id;
  Fault error;
  EXPECT_FALSE(CreateWindowsEntry(L"", request, id, error));
  EXPECT_EQ(error, Said(L"Failure when attempting to copy boot files."));
  EXPECT_EQ(fake.runs[0].program, L"D:\\Windows\\System32\\bcdboot.exe");

  // Any other store file bcdboot would not write: refused before anything runs.
  for (const std::wstring store : {L"\\\\?\\Volume{5e5e5e5e-1111-2222-3333-444444444444}\\EFI\\Microsoft\\Boot\\BCD",
                                   L"S:\\Boot\\BCD", L"S:\\EFI\\Microsoft\\Boot\\BCD.bak", L"\\\\server\\share\\BCD"}) {
    EXPECT_FALSE(CreateWindowsEntry(store, request, id, error));
    EXPECT_EQ(error, (Fault{FaultKind::BcdbootStoreNotReachable, store}));
  }
  EXPECT_EQ(fake.runs.size(), 1u);
}

TEST(CreateWindowsEntry, RefusesAnythingButAWindowsDrive) {
  test::FakePlatform fake;
  fake.AddFolder(L"D:\\Windows");
  fake.AddFolder(L"ab\\Windows");
  std::wstring id;
  Fault error;
  // As typed, then the folder looked for.
  const std::pair<std::wstring, std::wstring> cases[] = {{L"D:\\Windows", L"D:\\Windows\\Windows"},
                                                         {L"E", L"E:\\Windows"},
                                                         {L"ab", L"ab\\Windows"},
                                                         {L"", L"\\Windows"},
                                                         {L"D: /s C:", L"D: /s C:\\Windows"}};
  for (const auto& [typed, folder] : cases) {
    EXPECT_FALSE(CreateWindowsEntry(L"", {.windowsDrive = typed}, id, error));
    EXPECT_EQ(error, (Fault{FaultKind::WindowsMissing, folder}));
  }
  EXPECT_TRUE(fake.runs.empty());
}

TEST(CreateWindowsEntry, ManualCreationIntoANewStoreFile) {
  Machine fake;
  WindowsEntryRequest request{L"d:\\", L"", MenuPolicy::Legacy, true, true, false, false};
  std::wstring id;
  Fault error;
  ASSERT_TRUE(CreateWindowsEntry(L"S:\\EFI\\Microsoft\\Boot\\BCD", request, id, error));
  EXPECT_EQ(id, kNew);
  EXPECT_TRUE(fake.Exists(L"S:\\EFI\\Microsoft\\Boot"));
  EXPECT_EQ(fake.runs[0].program, L"C:\\Windows\\system32\\bcdedit.exe");
  const std::wstring s = L"/store \"S:\\EFI\\Microsoft\\Boot\\BCD\" ";
  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{
                                  L"/createstore \"S:\\EFI\\Microsoft\\Boot\\BCD\"",
                                  s + L"/create {bootmgr} /d \"Windows Boot Manager\"",
                                  s + L"/set {bootmgr} device partition=S:",
                                  s + L"/set {bootmgr} path \\EFI\\Microsoft\\Boot\\bootmgfw.efi",
                                  s + L"/timeout 10",
                                  s + L"/create /d \"Windows (D:)\" /application osloader",
                                  s + L"/set " + kNew + L" device partition=D:",
                                  s + L"/set " + kNew + L" osdevice partition=D:",
                                  s + L"/set " + kNew + L" path \\Windows\\system32\\winload.efi",
                                  s + L"/set " + kNew + L" systemroot \\Windows",
                                  s + L"/set " + kNew + L" inherit {bootloadersettings}",
                                  s + L"/set " + kNew + L" bootmenupolicy Legacy",
                                  s + L"/displayorder " + kNew + L" /addfirst",
                                  s + L"/default " + kNew,
                                  s + L"/set {bootmgr} displaybootmenu yes",
                              }));
}

TEST(CreateWindowsEntry, ManualFailuresRollBack) {
  const std::wstring create = L"/create /d \"My 'Win'\" /application osloader";
  const std::wstring rollback = L"/delete " + kNew + L" /cleanup /f";
  struct Case {
    std::wstring failing, output;
    Fault error;
    std::vector<std::wstring> runs;
  };
  const Case cases[] = {
      // A failing setting: the entry goes at once and later settings are not tried.
      {L"osdevice", L"The parameter is incorrect.", {FaultKind::WindowsEntryNotConfigured, L"The parameter is incorrect."},
       {create, L"/set " + kNew + L" device partition=D:", L"/set " + kNew + L" osdevice partition=D:", rollback}},
      // A create that printed no identifier (exit code 0) leaves nothing to undo.
      {L"/create /d", L"no identifier printed", {FaultKind::WindowsEntryNotCreated, L"no identifier printed"}, {create}},
      {L"/displayorder", L"The request is not supported.",
       {FaultKind::WindowsNotAddedToMenu, L"The request is not supported."},
       {L"/displayorder " + kNew + L" /addlast", rollback}},
  };
  for (const auto& c : cases) {
    Machine fake(c.failing, c.output, c.failing == L"/create /d" ? 0 : 1);
    const WindowsEntryRequest request{L"D:", L"My \"Win\"", MenuPolicy::Standard, false, false, false, true};
    std::wstring id = L"stale";
    Fault error;
    EXPECT_FALSE(CreateWindowsEntry(L"", request, id, error));
    EXPECT_TRUE(id.empty());
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(fake.Last(c.runs.size()), c.runs) << std::string(c.failing.begin(), c.failing.end());
  }
}

TEST(EnsureStoreFile, CreatesOnlyWhatIsMissing) {
  test::FakePlatform fake;
  fake.AddFile(L"D:\\Boot\\BCD");
  Fault error;
  EXPECT_TRUE(EnsureStoreFile(L"D:\\Boot\\BCD", false, error));  // the system store's runs are compared whole below
  EXPECT_TRUE(fake.runs.empty());

  fake.ReplyWhen(L"", 0, L"");
  EXPECT_TRUE(EnsureStoreFile(L"NewBCD", true, error));  // a bare name: no folder, no device, no UEFI path
  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{L"/createstore \"NewBCD\"",
                                                         L"/store \"NewBCD\" /create {bootmgr} /d \"Windows Boot Manager\"",
                                                         L"/store \"NewBCD\" /timeout 10"}));
  EXPECT_EQ(StoreParentFolder(L"D:\\BCD"), L"D:\\");
  EXPECT_EQ(StoreParentFolder(L"D:\\Boot\\\\BCD"), L"D:\\Boot");
  EXPECT_EQ(StoreParentFolder(L"BCD"), L"");

  test::FakePlatform blocked;
  blocked.AddFile(L"Q:\\Boot");  // a file where the folder should be
  EXPECT_FALSE(EnsureStoreFile(L"Q:\\Boot\\BCD", false, error));
  EXPECT_EQ(error, (Fault{FaultKind::BcdFolderNotCreated, L"Q:\\Boot"}));
  blocked.AddFolder(L"Q:\\Other");
  blocked.Reply(1, L"The store already exists.");
  EXPECT_FALSE(EnsureStoreFile(L"Q:\\Other\\BCD", false, error));
  EXPECT_EQ(error, (Fault{FaultKind::NewStoreNotCreated, L"The store already exists."}));
}

TEST(FindWindowsDrives, UefiOrBiosLoaders) {
  test::FakePlatform fake;
  fake.driveRoots = {L"C:\\", L"D:\\", L"E:\\"};
  fake.AddFile(L"C:\\Windows\\System32\\winload.efi");
  fake.AddFile(L"E:\\Windows\\System32\\winload.exe");
  EXPECT_EQ(FindWindowsDrives(), (std::vector<std::wstring>{L"C:", L"E:"}));
}

TEST(CreateWinPeEntry, FullSequenceWithEveryOption) {
  Machine fake;
  WinPeEntryRequest request{L"D:\\sources\\boot.wim", L"  ", MenuPolicy::Legacy, true, true, true, false};
  std::wstring id;
  Fault error;
  ASSERT_TRUE(CreateWinPeEntry(L"", request, id, error)) << testing::PrintToString(error);
  EXPECT_EQ(id, kNew);
  const std::wstring ramdisk = L"\"ramdisk=[D:]\\sources\\boot.wim," + kOptions + L"\"";
  EXPECT_EQ(fake.Arguments(), (std::vector<std::wstring>{
                                  L"/create /d \"Zel WinPE ramdisk options\" /device",
                                  L"/set " + kOptions + L" ramdisksdidevice partition=D:",
                                  L"/set " + kOptions + L" ramdisksdipath \"\\Boot\\boot.sdi\"",
                                  L"/create /d \"Zel WinPE\" /application osloader",
                                  L"/set " + kNew + L" device " + ramdisk,
                                  L"/set " + kNew + L" osdevice " + ramdisk,
                                  L"/set " + kNew + L" path \\windows\\system32\\boot\\winload.efi",
                                  L"/set " + kNew + L" systemroot \\windows",
                                  L"/set " + kNew + L" winpe yes",
                                  L"/set " + kNew + L" detecthal yes",
                                  L"/set " + kNew + L" bootmenupolicy Legacy",
                                  L"/displayorder " + kNew + L" /addfirst",
                                  L"/default " + kNew,
                                  L"/bootsequence " + kNew,
                                  L"/set {bootmgr} displaybootmenu yes",
                              }));
}

// BIOS: winload.exe for both kinds and the PCAT boot.sdi. A WinPE entry into a store file that
// does not exist yet makes the store first, without the UEFI boot manager's path; without a
// boot.sdi nothing is made at all, not even the store.
TEST(CreateWinPeEntry, BiosLoadersANewStoreFileAndAMissingBootSdi) {
  Machine fake;
  fake.RemoveFile(L"D:\\Boot\\boot.sdi");
  fake.AddFile(L"D:\\Windows\\Boot\\DVD\\EFI\\boot.sdi");
  fake.AddFile(L"D:\\Windows\\Boot\\DVD\\PCAT\\boot.sdi");
  std::wstring id;
  Fault error;
  const WinPeEntryRequest pe{L"D:\\sources\\boot.wim", L"PE", MenuPolicy::Standard, false, false, false, true};
  ASSERT_TRUE(CreateWinPeEntry(L"S:\\Boot\\BCD", pe, id, error)) << testing::PrintToString(error);
  const std::wstring s = L"/store \"S:\\Boot\\BCD\" ";
  const auto args = fake.Arguments();
  ASSERT_GE(args.size(), 7u);
  EXPECT_EQ(std::vector<std::wstring>(args.begin(), args.begin() + 7),
            (std::vector<std::wstring>{L"/createstore \"S:\\Boot\\BCD\"", s + L"/create {bootmgr} /d \"Windows Boot Manager\"",
                                       s + L"/set {bootmgr} device partition=S:", s + L"/timeout 10",
                                       s + L"/create /d \"PE ramdisk options\" /device",
                                       s + L"/set " + kOptions + L" ramdisksdidevice partition=D:",
                                       s + L"/set " + kOptions + L" ramdisksdipath \"\\Windows\\Boot\\DVD\\PCAT\\boot.sdi\""}));
  EXPECT_TRUE(fake.Exists(L"S:\\Boot"));
  EXPECT_TRUE(fake.Ran(s + L"/set " + kNew + L" path \\windows\\system32\\boot\\winload.exe"));
  const WindowsEntryRequest windows{L"D:", L"", MenuPolicy::Standard, false, false, false, true};
  ASSERT_TRUE(CreateWindowsEntry(L"", windows, id, error));
  EXPECT_TRUE(fake.Ran(L"/set " + kNew + L" path \\Windows\\system32\\winload.exe"));

  test::FakePlatform bare;
  bare.AddFile(L"E:\\pe.wim");
  EXPECT_FALSE(CreateWinPeEntry(L"S:\\New\\BCD", WinPeEntryRequest{.imagePath = L"E:\\pe.wim"}, id, error));
  EXPECT_EQ(error.kind, FaultKind::BootSdiMissing);
  EXPECT_TRUE(bare.runs.empty());
  EXPECT_FALSE(bare.Exists(L"S:\\New"));
}

// The image's drive first (its PCAT copy for BIOS, and none at all, are in the test above), then the others.
TEST(CreateWinPeEntry, BootSdiSearchOrder) {
  test::FakePlatform fake;
  fake.driveRoots = {L"C:\\", L"D:\\", L"E:\\"};
  fake.AddFile(L"D:\\Windows\\Boot\\DVD\\EFI\\boot.sdi");
  fake.AddFile(L"D:\\Windows\\Boot\\DVD\\PCAT\\boot.sdi");
  fake.AddFile(L"C:\\Boot\\boot.sdi");
  std::wstring device, path;
  ASSERT_TRUE(FindBootSdi(L"D:\\x.wim", false, device, path));
  EXPECT_EQ(device, L"partition=D:");
  EXPECT_EQ(path, L"\\Windows\\Boot\\DVD\\EFI\\boot.sdi");
  ASSERT_TRUE(FindBootSdi(L"E:\\x.wim", false, device, path));
  EXPECT_EQ(device, L"partition=C:");
  EXPECT_EQ(path, L"\\Boot\\boot.sdi");
}

TEST(CreateWinPeEntry, ChecksAndRollbacks) {
  test::FakePlatform fake;
  fake.AddFile(L"\\\\nas\\pe\\boot.wim");
  std::wstring id;
  Fault error;
  EXPECT_FALSE(CreateWinPeEntry(L"", {.imagePath = L"D:\\missing.wim"}, id, error));
  EXPECT_EQ(error, (Fault{FaultKind::WimMissing, L"D:\\missing.wim"}));
  EXPECT_FALSE(CreateWinPeEntry(L"", {.imagePath = L"\\\\nas\\pe\\boot.wim"}, id, error));
  EXPECT_EQ(error.kind, FaultKind::WimWithoutDriveLetter);
  EXPECT_TRUE(fake.runs.empty());

  // Each essential step failing in turn: nothing of the new objects may remain.
  struct Step {
    std::wstring needle;
    FaultKind expected;
    std::vector<std::wstring> rollback;
  };
  const Step steps[] = {
      {L"/device", FaultKind::RamdiskOptionsNotCreated, {}},
      {L"ramdisksdipath", FaultKind::RamdiskOptionsNotCreated, {L"/delete " + kOptions + L" /f"}},
      {L"/application osloader", FaultKind::WinPeEntryNotCreated, {L"/delete " + kOptions + L" /f"}},
      {L"winpe yes", FaultKind::WinPeEntryNotConfigured,
       {L"/delete " + kNew + L" /cleanup /f", L"/delete " + kOptions + L" /f"}},
      {L"/displayorder", FaultKind::WinPeNotAddedToMenu,
       {L"/delete " + kNew + L" /cleanup /f", L"/delete " + kOptions + L" /f"}},
  };
  for (const auto& step : steps) {
    Machine run(step.needle);
    run.AddFile(L"D:boot.wim");  // no backslash after the drive
    EXPECT_FALSE(CreateWinPeEntry(L"", {.imagePath = L"D:boot.wim"}, id, error));
    EXPECT_TRUE(id.empty());
    EXPECT_EQ(error, (Fault{step.expected, L"boom"}));
    EXPECT_EQ(run.Last(step.rollback.size()), step.rollback) << std::string(step.needle.begin(), step.needle.end());
    if (step.needle == L"winpe yes") {
      const auto args = run.Arguments();
      EXPECT_EQ(args[4], L"/set " + kNew + L" device \"ramdisk=[D:]\\boot.wim," + kOptions + L"\"");
      EXPECT_EQ(std::count_if(args.begin(), args.end(), [](const std::wstring& a) { return a.find(L"detecthal") != a.npos; }), 0);
    }
  }
}

}  // namespace
}  // namespace zel
