#pragma once
// The "Boot options" form without the window: which switches it shows, how
// the safe-mode row maps to the entry's elements, and how the outcome is worded.
#include <array>
#include <string>
#include <vector>

#include "core/bcd_model.h"

namespace app {

// The safe-mode row, left to right.
enum class SafeModeChoice : int { Off = 0, Minimal = 1, Network = 2, CommandPrompt = 3, DsRepair = 4 };
inline constexpr int kSafeModeChoices = 5;
std::vector<std::wstring> SafeModeChoiceTexts();
SafeModeChoice SafeModeChoiceOf(const zel::BootOptions& options);
// `before` with the chosen safe mode; an unchanged choice keeps what the store has.
zel::BootOptions WithSafeMode(const zel::BootOptions& before, SafeModeChoice choice);

// The check boxes under it, in order.
struct BootSwitch {
  bool zel::BootOptions::*member;
  const wchar_t* vietnamese;
  const wchar_t* english;
};
extern const std::array<BootSwitch, 8> kBootSwitches;

// The log's and the dialog's words for an outcome: the elements written and, after
// a failure, bcdedit's message first.
std::wstring AppliedText(const std::vector<std::wstring>& applied);
std::wstring FailedText(const std::wstring& error, const std::vector<std::wstring>& applied);

}  // namespace app
