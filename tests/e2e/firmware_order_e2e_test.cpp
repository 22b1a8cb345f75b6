// The firmware boot order of the running system's store: boot one once, move one
// first, and the refusals for a store file and a store without a firmware manager.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/firmware_order.h"
#include "tests/e2e/list_dialog.h"
#include "tests/e2e/started_app.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

// The sample's firmware order: the Windows Boot Manager, a USB stick, network boot.
const std::wstring kManager = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}", kUsb = L"{10685eec-56c2-4c8f-89a8-8fc60605c643}",
                   kPxe = L"{79ac653f-89c6-42bb-8125-d1b6e0b7a159}";
constexpr int kBootOnce = 0, kBootOnceAndRestart = 1, kMoveFirst = 2;

HWND OpenOrder(Started& s) {
  s.sim.ClearLog();
  s.app->Command(ui::kFirmwareOrderId);
  return s.app->WaitForDialog();
}

// The change's one run, the automatic backup before it and the reload after it.
void ExpectChange(const Started& s, const std::wstring& call) {
  ASSERT_TRUE(s.Reloaded());
  const auto lines = s.sim.LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"bcdedit /enum firmware /v");
  EXPECT_TRUE(lines[1].starts_with(L"bcdedit /export ")) << "no automatic backup first";
  EXPECT_EQ(lines[2], call);
}

TEST(FirmwareOrderEndToEnd, MoveFirstBootOnceAndRestart) {
  Started s;
  ASSERT_TRUE(s.ok);
  HWND dialog = OpenOrder(s);
  ASSERT_NE(dialog, nullptr);
  const auto rows = ListRows(dialog);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].rfind(L"#1  Windows Boot Manager \u2014 " + kManager, 0), 0u);
  EXPECT_EQ(rows[2].rfind(L"#3  UEFI: PXE IPv4 Network Adapter \u2014 " + kPxe, 0), 0u);
  ChooseRow(dialog, 2, kMoveFirst);
  ExpectChange(s, L"bcdedit /set {fwbootmgr} displayorder " + kPxe + L" " + kManager + L" " + kUsb);
  EXPECT_EQ(LoadFirmwareOrder().displayOrder, (std::vector<std::wstring>{kPxe, kManager, kUsb}));

  dialog = OpenOrder(s);
  ASSERT_NE(dialog, nullptr);
  ChooseRow(dialog, 2, kBootOnce);
  ExpectChange(s, L"bcdedit /set {fwbootmgr} bootsequence " + kUsb);
  EXPECT_EQ(LoadFirmwareOrder().bootSequenceId, kUsb);

  // Once written, the restart is asked for as the Restart button asks; declined, nothing else runs.
  dialog = OpenOrder(s);
  ASSERT_NE(dialog, nullptr);
  ChooseRow(dialog, 0, kBootOnceAndRestart);
  ASSERT_TRUE(AppDriver::WaitClosed(dialog));
  Answer(*s.app, L"Confirm", kSecondButton);
  EXPECT_EQ(s.sim.LogLines()[2], L"bcdedit /set {fwbootmgr} bootsequence " + kPxe);
  EXPECT_TRUE(s.app->Idle());
  for (const auto& line : s.sim.LogLines()) EXPECT_EQ(line.find(L"shutdown"), std::wstring::npos);
}

TEST(FirmwareOrderEndToEnd, RefusedForAStoreFileAndWithoutAFirmwareManager) {
  Started s(L"", [](SimSandbox& sim) { sim.UseSystemStore(sim.CopyStore(L"bios-legacy.txt", L"bios.txt")); });
  ASSERT_TRUE(s.ok);
  ASSERT_NE(OpenOrder(s), nullptr);
  Answer(*s.app, L"Firmware Boot Order", kFirstButton);
  EXPECT_EQ(s.sim.LogLines(), std::vector<std::wstring>{L"bcdedit /enum firmware /v"});

  const std::wstring file = s.sim.CopyStore(L"uefi-win11.txt", L"offline\\BCD");
  s.app->Command(ui::kBrowseId);
  ASSERT_TRUE(s.app->ChooseFile(file));
  ASSERT_TRUE(s.Finished(L"bcdedit /store \"" + file + L"\" /enum all /v"));
  ASSERT_NE(OpenOrder(s), nullptr);
  Answer(*s.app, L"Firmware Boot Order", kFirstButton);
  EXPECT_TRUE(s.app->Idle());
  EXPECT_TRUE(s.sim.LogLines().empty());
}

}  // namespace
}  // namespace zel::test
