// Every edit applied through the simulated bcdedit to a sample store and read back.
#include <gtest/gtest.h>

#include "core/backup_folder.h"
#include "core/bcd_backup.h"
#include "core/bcd_edit.h"
#include "core/bcd_store.h"
#include "core/command_runner.h"
#include "core/system.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

const std::wstring kWin11 = L"{4b91442f-227f-45a6-a76f-4b17f619a5e3}";
const std::wstring kPe = L"{6735cfd9-5c9a-4f12-af7f-fb01c27d6eaf}";
const std::wstring kPeOptions = L"{9a263024-18d9-496e-a05b-438c0eb9470f}";
const std::wstring kMemtest = L"{b2721d73-1db4-4c62-bf78-c548a880142d}";
const std::wstring kRecovery = L"{c772845f-b0ee-478b-96b6-3833ed5bc3ac}";

const BootEntry* Find(const BcdSnapshot& s, const std::wstring& id) {
  for (const auto& e : s.entries) {
    if (e.identifier == id) return &e;
  }
  return nullptr;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(EditStoreOnWine, EachEditReadsBack) {
  test::SimSandbox sim;
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  std::wstring error;

  ASSERT_TRUE(RenameEntry(store, kPe, L"Rescue \"PE\" tools\\", error)) << Narrow(error);
  ASSERT_TRUE(SetDefaultEntry(store, kPe, error)) << Narrow(error);
  ASSERT_TRUE(SetBootSequence(store, kMemtest, error)) << Narrow(error);
  ASSERT_TRUE(SetMenuTimeout(store, 4000, error)) << Narrow(error);
  ASSERT_TRUE(SetDisplayBootMenu(store, false, error)) << Narrow(error);
  ASSERT_TRUE(SetBootMenuPolicy(store, kWin11, L"legacy", error)) << Narrow(error);
  BcdSnapshot s = LoadBcdSnapshot(store);
  ASSERT_TRUE(s.loaded);
  const auto moved = MoveInDisplayOrder(s.displayOrder, kPe, true);
  ASSERT_TRUE(moved.has_value());
  ASSERT_TRUE(SetDisplayOrder(store, *moved, error)) << Narrow(error);
  ASSERT_TRUE(SetDisplayOrder(store, ShowInDisplayOrder(*moved, kRecovery), error)) << Narrow(error);

  s = LoadBcdSnapshot(store);
  ASSERT_TRUE(s.loaded);
  EXPECT_EQ(s.timeoutSeconds, 3600);
  EXPECT_FALSE(s.displayBootMenu);
  EXPECT_EQ(s.defaultId, kPe);
  EXPECT_EQ(s.bootSequenceId, kMemtest);
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{kPe, kWin11, kMemtest, kRecovery}));
  ASSERT_EQ(s.entries.size(), 4u);
  EXPECT_EQ(s.entries[0].identifier, kPe);
  EXPECT_EQ(s.entries[0].description, L"Rescue 'PE' tools");
  EXPECT_TRUE(s.entries[0].isDefault);
  EXPECT_EQ(s.entries[1].bootMenuPolicy, L"Legacy");
  EXPECT_TRUE(s.entries[2].isBootSequence);
  EXPECT_TRUE(s.entries[3].inDisplayOrder);
  // Every edit was one bcdedit run against this file, nothing else.
  for (const auto& line : sim.LogLines()) EXPECT_EQ(line.rfind(L"bcdedit /store \"" + store + L"\" ", 0), 0u) << Narrow(line);
}

TEST(EditStoreOnWine, DeletingAWinPeEntryTakesItsOwnOptionsOnly) {
  test::SimSandbox sim;
  const std::wstring store = sim.CopyStore(L"uefi-win11.txt", L"BCD");
  std::wstring error;
  ASSERT_TRUE(DeleteEntry(store, kPe, error)) << Narrow(error);
  EXPECT_FALSE(RunBcdedit(store, L"/enum " + kPeOptions + L" /v").Succeeded());
  BcdSnapshot s = LoadBcdSnapshot(store);
  EXPECT_EQ(Find(s, kPe), nullptr);
  EXPECT_EQ(s.displayOrder, (std::vector<std::wstring>{kWin11, kMemtest}));

  // The recovery loader's options stay while the loader still uses them... until it goes too.
  ASSERT_TRUE(DeleteEntry(store, kRecovery, error)) << Narrow(error);
  EXPECT_FALSE(RunBcdedit(store, L"/enum {94b13010-f0f0-4ab2-8eb6-071fcad6e3a7} /v").Succeeded());
  EXPECT_TRUE(RunBcdedit(store, L"/enum " + kWin11 + L" /v").Succeeded());

  EXPECT_FALSE(DeleteEntry(store, L"{00000000-0000-0000-0000-000000000000}", error));
  EXPECT_FALSE(error.empty());
}

TEST(EditStoreOnWine, SystemStoreBackupAndRestoreGoThroughBcdedit) {
  test::SimSandbox sim;
  const std::wstring system = sim.CopyStore(L"uefi-win11.txt", L"system.txt");
  sim.UseSystemStore(system);
  std::wstring backup, error;
  ASSERT_TRUE(BackupStoreBeforeChange(L"", backup, error)) << Narrow(error);
  EXPECT_TRUE(FileExists(backup));
  EXPECT_NE(backup.find(L"\\BCD_System_"), std::wstring::npos);
  EXPECT_EQ(sim.LogLines(), (std::vector<std::wstring>{L"bcdedit /export \"" + backup + L"\""}));

  ASSERT_TRUE(RenameEntry(L"", kWin11, L"Changed", error));
  ASSERT_TRUE(ImportStore(L"", backup, error)) << Narrow(error);
  EXPECT_EQ(Find(LoadBcdSnapshot(L""), kWin11)->description, L"Windows 11");
  DeleteFileForce(backup);
}

}  // namespace
}  // namespace zel
