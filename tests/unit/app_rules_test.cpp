#include <gtest/gtest.h>

#include <set>

#include "app/actions.h"
#include "app/boot_options_form.h"
#include "app/command_log.h"
#include "app/commands.h"
#include "app/fault_text.h"
#include "app/job_delivery.h"
#include "app/settings.h"
#include "ui/language.h"

namespace app {
namespace {

// Rewriting a file the program wrote itself is checked end to end
// (AppEndToEnd.LanguageAndStyleSwitchesRewriteTheSettings).
TEST(Settings, RewriteKeepsOtherLinesByteForByteAndReplacesOwnKeys) {
  const std::string old = "# notes\r\nSTYLE=light\n\nOther=1\r\r\nlanguage=en\r\n  indented\n\xC3\xA2 \xFF\t\r\nlast";
  EXPECT_EQ(RewriteSettings(old, Preferences{true, false}),
            "# notes\r\n\nOther=1\r\r\n  indented\n\xC3\xA2 \xFF\t\r\nlast\r\nLanguage=vi\r\nStyle=light\r\n");
  EXPECT_EQ(RewriteSettings("", Preferences{}), "Language=vi\r\nStyle=dark\r\n");
}

// A refused post is tried again; once the tries run out the completion is freed and the loss recorded.
TEST(JobDelivery, RefusedPostsAreRetriedThenTheLossRecorded) {
  for (const int refusals : {0, 3, 5}) {
    const bool deliverable = refusals < 5;
    std::atomic<bool> lost{false};
    auto alive = std::make_shared<int>(0);
    std::unique_ptr<Completion> received;
    int posts = 0, pauses = 0;
    const bool delivered = DeliverCompletion(
        std::make_unique<Completion>([alive] {}),
        [&](Completion* completion) {
          if (++posts <= refusals) return false;
          received.reset(completion);
          return true;
        },
        5, [&] { ++pauses; }, lost);
    EXPECT_EQ(delivered, deliverable) << refusals;
    EXPECT_EQ(lost.load(), !deliverable) << refusals;
    EXPECT_EQ(pauses, posts - 1) << refusals;
    EXPECT_EQ(alive.use_count(), deliverable ? 2 : 1) << refusals;  // held by the receiver, or already freed
  }
}

TEST(CommandLog, StampsSplitsAndCaps) {
  EXPECT_EQ(LogTimePrefix(zel::LocalTime{2026, 1, 2, 9, 5, 3, 0}), L"[09:05:03] ");
  ui::TextRows log;
  AddLogEntry(log, L"[00:00:00] > Rename [Error] line one\r\nline two\n");
  EXPECT_EQ(log.lines, (std::vector<std::wstring>{L"[00:00:00] > Rename [Error] line one", L"line two", L""}));
  for (int i = 0; i < 500; ++i) AddLogEntry(log, L"entry " + std::to_wstring(i));
  EXPECT_EQ(log.lines.size(), kMaxLogLines);
  EXPECT_EQ(log.lines.front(), L"entry 0");
  EXPECT_EQ(log.lines.back(), L"entry 499");
  std::wstring huge;
  for (int i = 0; i < 600; ++i) huge += L"x" + std::to_wstring(i) + L"\n";
  AddLogEntry(log, huge);
  EXPECT_EQ(log.lines.size(), kMaxLogLines);
  EXPECT_EQ(log.lines.back(), L"");
  EXPECT_EQ(log.lines.front(), L"x101");

  // Scrolled up to the oldest line, the next entry still brings the newest into view.
  log.Rewrap(40, 5);
  log.scroll.ScrollTo(0);
  AddLogEntry(log, L"newest");
  log.Rewrap(40, 5);
  ASSERT_GT(log.scroll.MaxScroll(), 0);
  EXPECT_EQ(log.scroll.scrollPos, log.scroll.MaxScroll());
  EXPECT_EQ(log.lines[static_cast<size_t>(log.rows.back().line)], L"newest");
}

// The digit row and the number pad are the same shortcuts; 0 is none. Nothing is a shortcut
// while another window is active, a modifier is held, or the time-out box has the focus.
TEST(Shortcuts, KeysMapToCommandsOnlyWhereTheWindowTakesThem) {
  const KeyContext main{true, false, false, false};
  // The pad's ends, a second key (F5), and keys next to the pad's digits that are none.
  const std::pair<int, int> keys[] = {{'1', ui::kAddWinPeId}, {0x61, ui::kAddWinPeId}, {0x69, ui::kRepairEfiId},
                                      {0x74, ui::kRefreshId}, {'0', 0}, {0x60, 0}, {0x6A, 0}, {'A', 0}};
  for (const auto& [key, command] : keys) EXPECT_EQ(ShortcutCommand(key, main), command) << std::hex << key;
  for (const KeyContext elsewhere : {KeyContext{false, false, false, false}, KeyContext{true, true, false, false},
                                     KeyContext{true, false, true, false}, KeyContext{true, false, false, true}}) {
    for (const int key : {int{'1'}, 0x61, 0x74, 0x2E, int{'R'}}) EXPECT_EQ(ShortcutCommand(key, elsewhere), 0) << key;
  }
  // Ctrl+Z is undo, in the window alone: in a text box it is the box's own undo.
  EXPECT_EQ(ShortcutCommand('Z', KeyContext{true, true, false, false}), ui::kUndoKeyId);
  EXPECT_EQ(ShortcutCommand('Z', main), 0);
  for (const KeyContext elsewhere : {KeyContext{true, true, true, false}, KeyContext{true, true, false, true}}) {
    EXPECT_EQ(ShortcutCommand('Z', elsewhere), 0);
  }
}

// Each safe-mode choice reads back as itself; leaving the row alone keeps what the
// store has, even a combination the row cannot show (network with a command prompt).
TEST(BootOptionsForm, SafeModeChoicesRoundTripAndAnUntouchedRowKeepsTheStore) {
  const zel::BootOptions none;
  for (int c = 0; c < kSafeModeChoices; ++c) {
    const zel::BootOptions after = WithSafeMode(none, SafeModeChoice(c));
    EXPECT_EQ(SafeModeChoiceOf(after), SafeModeChoice(c)) << c;
    EXPECT_EQ(after.alternateShell, SafeModeChoice(c) == SafeModeChoice::CommandPrompt) << c;
  }
  zel::BootOptions odd;
  odd.safeBoot = zel::SafeBoot::Network;
  odd.alternateShell = true;
  EXPECT_TRUE(WithSafeMode(odd, SafeModeChoice::Network).alternateShell);
  EXPECT_FALSE(WithSafeMode(odd, SafeModeChoice::Minimal).alternateShell);
  EXPECT_EQ(SafeModeChoiceTexts().size(), static_cast<size_t>(kSafeModeChoices));
  // Every switch of the form is a distinct element.
  for (size_t i = 0; i < kBootSwitches.size(); ++i) {
    for (size_t j = i + 1; j < kBootSwitches.size(); ++j) EXPECT_NE(kBootSwitches[i].member, kBootSwitches[j].member);
  }
}

TEST(TimeoutText, LeadingNumberWithinRange) {
  int seconds = -1;
  for (const auto& [text, expected] : {std::pair{L"\v\f 3600 \r\n", 3600}, {L"+0", 0}, {L"7 days", 7}}) {
    EXPECT_TRUE(ParseTimeoutText(text, seconds)) << text;  // white space as the C library skips it
    EXPECT_EQ(seconds, expected) << text;
  }
  for (const wchar_t* bad : {L"3601", L"-1", L"", L"abc", L"99999999999", L"- 5"}) {
    EXPECT_FALSE(ParseTimeoutText(bad, seconds)) << bad;
  }
}

// What the core reports reaches the user in words: every kind has its own sentence in both
// languages, the detail sits where the sentence expects it, and a tool's words pass unchanged.
TEST(FaultText, EveryKindIsWordedAroundItsDetail) {
  using zel::Fault;
  using zel::FaultKind;
  for (const bool vietnamese : {true, false}) {
    zel::g_vietnamese = vietnamese;
    std::set<std::wstring> seen;
    for (int k = static_cast<int>(FaultKind::StoreUnreadable); k <= static_cast<int>(FaultKind::NotInFirmwareOrder); ++k) {
      const std::wstring text = FaultText(Fault{static_cast<FaultKind>(k), L"<X>"});
      EXPECT_TRUE(text.size() > 3 && seen.insert(text).second) << k;
    }
    EXPECT_EQ(FaultText(zel::Said(L"The parameter is incorrect.")), L"The parameter is incorrect.");
    EXPECT_EQ(FaultText(Fault{}), L"");
  }
  zel::g_vietnamese = false;
  EXPECT_EQ(FaultText(Fault{FaultKind::BackupFileMissing, L"E:\\a.bcd"}), L"Backup file not found: E:\\a.bcd");
  const std::wstring kept = FaultText(Fault{FaultKind::KeptOptions, L"{id}"});
  EXPECT_EQ(kept.find(L"Kept the object {id} that the deleted entry"), 0u);
  zel::g_vietnamese = true;
  const std::wstring refused = FaultText(Fault{FaultKind::BcdbootStoreNotReachable, L"S:\\BCD"});
  EXPECT_NE(refused.find(L"trường hợp nào: S:\\BCD\r\n\r\nHãy bỏ chọn BCDBoot"), std::wstring::npos);
}

}  // namespace
}  // namespace app
