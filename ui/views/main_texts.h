#pragma once
// The main window's control identifiers and the texts it shows, in the language
// (and, for the style toggle, the style) current when they are asked for.
#include <array>
#include <string>

#include "core/firmware.h"
#include "ui/icon_table.h"
#include "ui/palette.h"
#include "zel_version.h"

namespace ui {

// Control identifiers of the main window's children; a click sends WM_COMMAND
// with the identifier in the low word of wParam.
enum MainControlId : int {
  kStoreSelectorId = 100,
  kBrowseId = 101,
  kRefreshId = 102,
  kAddWinPeId = 103,
  kAddWindowsId = 104,
  kBackupBcdId = 105,
  kRestoreBcdId = 106,
  kRawViewId = 107,
  kEntriesId = 108,
  kRenameKeyId = 109,  // F2: no control, only the command
  kDeleteKeyId = 110,  // Delete: no control, only the command
  kShowBootMenuId = 111,
  kTimeoutEditId = 112,
  kApplyTimeoutId = 113,
  kTimeoutPresetFirstId = 114,  // 114..118: 0, 3, 5, 10 and 30 seconds
  kBackupEfiId = 119,
  kRestoreEfiId = 120,
  kRepairEfiId = 121,
  kFirmwareRestartId = 122,
  kRestartId = 123,
  kShutdownId = 124,
  kStyleToggleId = 125,
  kLanguageToggleId = 126,
  kCopyLogId = 127,
  kClearLogId = 128,
  kLogViewId = 129,
  kBootOptionsKeyId = 130,  // O: no control, only the command (the card has its own button)
  kUndoKeyId = 131,         // Ctrl+Z: no control, only the command
  kBackupsId = 132,
  kFirmwareOrderId = 133,
};

inline constexpr std::array<int, 5> kTimeoutPresetSeconds = {0, 3, 5, 10, 30};

// Windows virtual-key codes of the shortcuts that are not a digit or a letter
// (those are their own upper-case character), so that the command table stays portable.
// kCtrlKey added to a key: the key with Ctrl held.
enum ShortcutKey : int { kKeyDelete = 0x2E, kKeyF2 = 0x71, kKeyF5 = 0x74, kCtrlKey = 0x10000 };

// What the window shows of one command: its control, its shortcut keys and its
// button's icon and label. The application owns the table of commands and
// hands the window these rows; the quick actions appear in the sidebar in table order.
struct CommandFace {
  int id;
  int key = 0;  // 0: none
  int secondKey = 0;
  IconId icon = kIconNone;
  const wchar_t* vietnamese = nullptr;  // null: the control has no label of its own here
  const wchar_t* english = nullptr;
  bool quickAction = false;
};

// The face's label in the current language; empty when it has none.
std::wstring CommandText(const CommandFace& face);

inline constexpr const wchar_t* kVersionText = L"" ZEL_VERSION_TEXT;
// "Zel Quillon PE v1.0.0.1 — BCD & Boot Manager", the same in both languages.
std::wstring MainWindowTitle();

// The text of a button that has none in the command table: the time-out presets
// and the style toggle; empty for any other identifier.
std::wstring MainControlText(int id);

// The store selector's text: the file path, or the system store's name.
std::wstring StoreDisplayName(const std::wstring& storePath);

// Texts painted by the main window.
std::wstring SubtitleText();
std::wstring QuickActionsTitle();
std::wstring PowerTitle();
std::wstring StoreLabelText();
std::wstring TimeoutLabelText();
std::wstring LogTitleText();

// The status line's texts that do not belong to one action.
enum class Status { Ready, Loaded, LoadFailed, Completed, Failed, Cancelled, NameUnchanged, OptionsUnchanged, LogCopied,
                    JobNotStarted, JobResultLost };
// `entries` is the count that Loaded names.
std::wstring StatusText(Status status, size_t entries = 0);

// The four rows of the sidebar's information card; dot is kNoColour for none.
struct InfoRowText {
  std::wstring label;
  std::wstring value;
  Colour dot = kNoColour;
};
std::array<InfoRowText, 4> InfoCardRows(const std::wstring& environmentLabel, zel::FirmwareKind firmware,
                                        size_t entryCount, int timeoutSeconds);

}  // namespace ui
