// Reading every sample store through the simulated bcdedit, as the program does.
#include <gtest/gtest.h>

#include "core/bcd_store.h"
#include "core/language.h"
#include "tests/support/sim_sandbox.h"

namespace zel {
namespace {

const std::wstring kWin11 = L"{4b91442f-227f-45a6-a76f-4b17f619a5e3}";
const std::wstring kUefiPe = L"{6735cfd9-5c9a-4f12-af7f-fb01c27d6eaf}";

std::vector<std::wstring> Descriptions(const BcdSnapshot& s) {
  std::vector<std::wstring> list;
  for (const auto& e : s.entries) list.push_back(e.description);
  return list;
}

TEST(LoadStoreOnWine, SystemStoreOfAUefiMachine) {
  test::SimSandbox sim;
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  const BcdSnapshot s = LoadBcdSnapshot(L"");

  ASSERT_TRUE(s.loaded) << std::string(s.error.begin(), s.error.end());
  EXPECT_EQ(sim.LogLines(), (std::vector<std::wstring>{L"bcdedit /enum all /v", L"bcdedit /enum {default} /v",
                                                       L"bcdedit /enum {current} /v"}));
  EXPECT_EQ(s.timeoutSeconds, 30);
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_EQ(s.currentId, kWin11);
  EXPECT_EQ(Descriptions(s), (std::vector<std::wstring>{L"Windows 11", L"WinPE Rescue (x64)",
                                                        L"Windows Memory Diagnostic", L"Windows Recovery Environment"}));
  EXPECT_TRUE(s.entries[0].isDefault && s.entries[0].isCurrent && s.entries[0].isWindows);
  EXPECT_TRUE(s.entries[1].isWinPe);
  EXPECT_NE(s.entries[1].device.find(L"ramdisk=["), std::wstring::npos);
  EXPECT_FALSE(s.entries[3].inDisplayOrder);
}

TEST(LoadStoreOnWine, StoreFilesOfEveryShape) {
  test::SimSandbox sim;
  const std::wstring bios = sim.CopyStore(L"bios-legacy.txt", L"Boot Files\\BCD");  // a blank in the path
  BcdSnapshot s = LoadBcdSnapshot(bios);
  ASSERT_TRUE(s.loaded) << std::string(s.error.begin(), s.error.end());
  EXPECT_EQ(sim.LogLines(), (std::vector<std::wstring>{L"bcdedit /store \"" + bios + L"\" /enum all /v",
                                                       L"bcdedit /store \"" + bios + L"\" /enum {default} /v"}));
  EXPECT_TRUE(s.currentId.empty());
  ASSERT_EQ(s.entries.size(), 2u);
  EXPECT_TRUE(s.entries[1].isWindows);  // the legacy \ntldr loader
  EXPECT_EQ(s.entries[1].path, L"\\ntldr");

  // The running system's store file read offline: nothing is current.
  s = LoadBcdSnapshot(sim.CopyStore(L"uefi-win11.txt", L"offline-bcd"));
  ASSERT_TRUE(s.loaded);
  for (const auto& e : s.entries) EXPECT_FALSE(e.isCurrent);

  s = LoadBcdSnapshot(sim.CopyStore(L"hidden-entries.txt", L"hidden"));
  ASSERT_EQ(s.entries.size(), 4u);
  EXPECT_TRUE(s.entries[0].inDisplayOrder && s.entries[1].inDisplayOrder);
  EXPECT_FALSE(s.entries[2].inDisplayOrder || s.entries[3].inDisplayOrder);
  EXPECT_TRUE(s.entries[3].isBootSequence);

  s = LoadBcdSnapshot(sim.CopyStore(L"empty.txt", L"empty"));
  EXPECT_TRUE(s.loaded);
  EXPECT_TRUE(s.entries.empty());
  EXPECT_TRUE(s.defaultId.empty());
}

TEST(LoadStoreOnWine, FailuresComeBackAsTheToolSaidThem) {
  test::SimSandbox sim;
  BcdSnapshot s = LoadBcdSnapshot(sim.Folder() + L"\\missing\\BCD");
  EXPECT_FALSE(s.loaded);
  EXPECT_EQ(s.error, L"The boot configuration data store could not be opened.\r\n"
                     L"The system cannot find the file specified.");
  EXPECT_EQ(sim.LogLines().size(), 1u);

  // A failed {default} or {current} is not fatal; the manager's default element still counts.
  sim.UseSystemStore(sim.CopyStore(L"uefi-win11.txt", L"system.txt"));
  sim.FailWhen(L"{current}");
  s = LoadBcdSnapshot(L"");
  EXPECT_TRUE(s.loaded);
  EXPECT_EQ(s.defaultId, kWin11);
  EXPECT_TRUE(s.currentId.empty());

  sim.FailWhen(L"/enum all");
  s = LoadBcdSnapshot(L"");
  EXPECT_FALSE(s.loaded);
  EXPECT_NE(s.error.find(L"simulated failure"), std::wstring::npos);
  EXPECT_EQ(s.rawText, s.error);
}

}  // namespace
}  // namespace zel
