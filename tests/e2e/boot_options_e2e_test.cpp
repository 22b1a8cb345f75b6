// The "Boot options" form of a Windows entry, filled in as a user would: what
// runs, what the store holds afterwards, and what the form shows when reopened.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/bcd_store.h"
#include "tests/e2e/started_app.h"
#include "tests/support/sample_store.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

// The safe-mode row's segments (Off, Minimal, Networking, Command Prompt, AD Repair), then the boxes.
constexpr int kOff = 400, kNetwork = 402, kCommandPrompt = 403;
constexpr int kBootLog = 201, kTestSigning = 205, kNoIntegrityChecks = 206;
const std::wstring& kWin11 = kSampleWin11;

bool Checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}

// The form of the selected entry (the first card), with the controls that read as checked.
std::vector<int> OpenAndRead(const AppDriver& app, HWND& dialog) {
  app.Command(ui::kBootOptionsKeyId);
  dialog = app.WaitForDialog();
  std::vector<int> checked;
  if (dialog == nullptr) return checked;
  for (int id = kOff; id <= kOff + 4; ++id) {
    if (Checked(dialog, id)) checked.push_back(id);
  }
  for (int id = kBootLog; id <= kBootLog + 7; ++id) {
    if (Checked(dialog, id)) checked.push_back(id);
  }
  return checked;
}

void ClickAndApply(HWND dialog, std::initializer_list<int> ids) {
  for (int id : ids) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The option runs, without the backup and the reload around them.
std::vector<std::wstring> OptionCalls(const SimSandbox& sim) {
  std::vector<std::wstring> calls;
  for (const std::wstring& line : sim.LogLines()) {
    if (line.starts_with(L"bcdedit /set ") || line.starts_with(L"bcdedit /deletevalue ")) calls.push_back(line);
  }
  return calls;
}

TEST(BootOptionsEndToEnd, SafeModeOnThenNetworkThenCommandPromptThenOff) {
  Started s;
  ASSERT_TRUE(s.ok);
  const std::wstring set = L"bcdedit /set " + kWin11, remove = L"bcdedit /deletevalue " + kWin11;
  struct Step {
    std::vector<int> before;  // what the form shows on opening
    std::initializer_list<int> clicks;
    std::vector<std::wstring> calls;
  };
  const Step steps[] = {
      {{kOff}, {kNetwork, kBootLog}, {set + L" safeboot network", set + L" bootlog yes"}},
      {{kNetwork, kBootLog}, {kCommandPrompt}, {set + L" safeboot minimal", set + L" safebootalternateshell yes"}},
      // Off takes the command prompt with it; the boot log goes too.
      {{kCommandPrompt, kBootLog}, {kOff, kBootLog}, {remove + L" safeboot", remove + L" safebootalternateshell", remove + L" bootlog"}},
  };
  for (const Step& step : steps) {
    HWND dialog = nullptr;
    EXPECT_EQ(OpenAndRead(*s.app, dialog), step.before);
    ASSERT_NE(dialog, nullptr);
    s.sim.ClearLog();
    ClickAndApply(dialog, step.clicks);
    ASSERT_TRUE(s.Reloaded());
    const auto lines = s.sim.LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].starts_with(L"bcdedit /export ")) << "no automatic backup first";
    EXPECT_EQ(OptionCalls(s.sim), step.calls);
  }
  const BootOptions options = LoadBcdSnapshot(L"").entries.front().options;
  EXPECT_TRUE(options.safeBoot == SafeBoot::Off && !options.alternateShell && !options.bootLog);

  // Applied unchanged, the form runs nothing.
  HWND dialog = nullptr;
  EXPECT_EQ(OpenAndRead(*s.app, dialog), std::vector<int>{kOff});
  s.sim.ClearLog();
  ClickAndApply(dialog, {});
  ASSERT_TRUE(AppDriver::WaitClosed(dialog));
  ASSERT_TRUE(s.app->Idle());
  EXPECT_TRUE(s.sim.LogLines().empty());
}

TEST(BootOptionsEndToEnd, AFailureHalfWaySaysWhatWasAppliedAndTheCardsShowIt) {
  Started s(L"testsigning");
  ASSERT_TRUE(s.ok);
  HWND dialog = nullptr;
  OpenAndRead(*s.app, dialog);
  ASSERT_NE(dialog, nullptr);
  ClickAndApply(dialog, {kBootLog, kTestSigning, kNoIntegrityChecks});
  ASSERT_TRUE(AppDriver::WaitClosed(dialog));
  Answer(*s.app, L"Zel Quillon PE \u2014 Error", kFirstButton);
  ASSERT_TRUE(s.Reloaded());  // read again: the boot log was written before the failure
  EXPECT_EQ(OptionCalls(s.sim),
            (std::vector<std::wstring>{L"bcdedit /set " + kWin11 + L" bootlog yes",
                                       L"bcdedit /set " + kWin11 + L" testsigning yes"}));
  EXPECT_NE(s.app->LogText().find(L" \u2014 applied before the failure: bootlog"), std::wstring::npos);
  EXPECT_EQ(OpenAndRead(*s.app, dialog), (std::vector<int>{kOff, kBootLog}));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  const BootOptions options = LoadBcdSnapshot(L"").entries.front().options;
  EXPECT_TRUE(options.bootLog && !options.testSigning && !options.noIntegrityChecks);
}

}  // namespace
}  // namespace zel::test
