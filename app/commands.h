#pragma once
// The main window's commands, one row each: control, shortcut keys, icon,
// label, what must hold before it runs, and the handler. The sidebar, the
// labels, the shortcuts and WM_COMMAND dispatch all read this table, so a new
// action is one row here plus its handler in actions.h.
//
// Header-only and constant: the window's part (kCommandFaces) and the checks
// below are worked out by the compiler, so any file can read them without
// linking the handlers.
#include <array>

#include "app/actions.h"
#include "core/firmware.h"
#include "ui/views/main_layout.h"
#include "ui/views/main_texts.h"

namespace app {

// Checked before the handler runs; a command whose store is not ready is not run.
enum class Needs {
  Nothing,
  SelectedStore,  // the selected store is the loaded one, even if it could not be read
  LoadedStore,    // ... and it was read
  Snapshot,       // a snapshot: when none was read, the store is loaded first, then the handler runs
};

using CommandHandler = void (*)();

struct Command {
  int id;
  int key;
  int secondKey;
  ui::IconId icon;
  const wchar_t* vietnamese;
  const wchar_t* english;
  bool quickAction;
  Needs needs;
  CommandHandler run;
};

namespace table {
using namespace ui;  // the ids, keys and icons

// Quick actions in sidebar order; the rest in the order of the window's controls.
inline constexpr Command kCommands[] = {
    {kAddWinPeId, '1', 0, kIconDisc, L"[1] Tạo Boot cho WinPE", L"[1] Add WinPE Boot Entry", true, Needs::Nothing,
     ActionCreateWinPe},
    {kAddWindowsId, '2', 0, kIconWindows, L"[2] Tạo Boot cho Windows", L"[2] Add Windows Boot Entry", true,
     Needs::Nothing, ActionCreateWindows},
    {kBackupBcdId, '3', 0, kIconSave, L"[3] Sao lưu BCD", L"[3] Backup BCD", true, Needs::LoadedStore, ActionBackup},
    {kRestoreBcdId, '4', 0, kIconUpload, L"[4] Khôi phục BCD", L"[4] Restore BCD", true, Needs::SelectedStore,
     ActionRestore},
    {kBackupsId, 'H', 0, kIconClock, L"[H] Lịch sử sao lưu", L"[H] Backup History", true, Needs::Nothing,
     ActionBackups},
    {kRawViewId, '5', 0, kIconCode, L"[5] Xem chi tiết BCD", L"[5] View Raw BCD", true, Needs::Snapshot, ShowRawBcd},
    {kBackupEfiId, '7', 0, kIconShieldCheck, L"[7] Sao lưu phân vùng EFI", L"[7] Backup EFI Partition", true,
     Needs::Nothing, ActionBackupEfi},
    {kRestoreEfiId, '8', 0, kIconUpload, L"[8] Khôi phục bản sao lưu EFI", L"[8] Restore EFI Backup", true,
     Needs::Nothing, ActionRestoreEfi},
    {kRepairEfiId, '9', 0, kIconChip, L"[9] Khôi phục EFI từ Windows", L"[9] Repair EFI from Windows", true,
     Needs::Nothing, ActionRepairEfi},

    {kStoreSelectorId, 0, 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, ShowStorePicker},
    {kBrowseId, 0, 0, kIconFolder, L"Chọn file BCD...", L"Browse BCD...", false, Needs::Nothing, BrowseStoreFile},
    {kRefreshId, '6', kKeyF5, kIconRefresh, L"Làm mới BCD", L"Refresh BCD", false, Needs::Nothing,
     ActionRefresh},
    {kApplyTimeoutId, 0, 0, kIconNone, L"Áp dụng", L"Apply", false, Needs::Nothing, ActionTimeout},
    {kShowBootMenuId, 0, 0, kIconNone, L"Hiện Menu Boot khi bật máy", L"Show Boot Menu", false, Needs::Nothing,
     ActionToggleMenu},
    {kRenameKeyId, kKeyF2, 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, ActionRename},
    {kDeleteKeyId, kKeyDelete, 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, ActionDelete},
    {kBootOptionsKeyId, 'O', 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, ActionBootOptions},
    {kUndoKeyId, kCtrlKey | 'Z', 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, ActionUndo},
    {kFirmwareOrderId, 'F', 0, kIconChecklist, L"[F] Thứ tự khởi động UEFI", L"[F] Firmware Boot Order", false,
     Needs::Nothing, ActionFirmwareOrder},
    {kFirmwareRestartId, 'B', 0, kIconChip, L"[B] Khởi động lại vào BIOS", L"[B] Restart PC to BIOS", false,
     Needs::Nothing, [] { ActionPower(zel::PowerAction::FirmwareSetup); }},
    {kRestartId, 'R', 0, kIconRestart, L"[R] Restart", L"[R] Restart", false, Needs::Nothing,
     [] { ActionPower(zel::PowerAction::Restart); }},
    {kShutdownId, 'S', 0, kIconPower, L"[S] Shutdown", L"[S] Shutdown", false, Needs::Nothing,
     [] { ActionPower(zel::PowerAction::Shutdown); }},
    // Its label and icon follow the style (MainControlText).
    {kStyleToggleId, 0, 0, kIconNone, nullptr, nullptr, false, Needs::Nothing, SwitchStyle},
    // Names the language in use, in that language.
    {kLanguageToggleId, 0, 0, kIconLanguage, L"Tiếng Việt", L"English", false, Needs::Nothing, SwitchLanguage},
    {kCopyLogId, 0, 0, kIconNone, L"Sao chép", L"Copy Log", false, Needs::Nothing, CopyLog},
    {kClearLogId, 0, 0, kIconNone, L"Xoá nhật ký", L"Clear Log", false, Needs::Nothing, ClearLog},
};
}  // namespace table
using table::kCommands;

namespace detail {

constexpr auto Faces() {
  std::array<ui::CommandFace, std::size(kCommands)> faces{};
  for (size_t i = 0; i < faces.size(); ++i) {
    const Command& c = kCommands[i];
    faces[i] = ui::CommandFace{c.id, c.key, c.secondKey, c.icon, c.vietnamese, c.english, c.quickAction};
  }
  return faces;
}

constexpr bool Empty(const wchar_t* text) { return text == nullptr || *text == 0; }

// Ids and keys are unique, every row has a handler and either both labels or none,
// a key shown as "[k] " is the row's key, and the sidebar has a place for each quick action.
constexpr bool Consistent() {
  int quickActions = 0;
  for (size_t i = 0; i < std::size(kCommands); ++i) {
    const Command& c = kCommands[i];
    if (c.run == nullptr || Empty(c.vietnamese) != Empty(c.english) || (c.key == 0 && c.secondKey != 0)) return false;
    for (const wchar_t* label : {c.vietnamese, c.english}) {
      if (!Empty(label) && label[0] == L'[' && !(label[1] == c.key && label[2] == L']' && label[3] == L' ')) return false;
    }
    if (c.quickAction && Empty(c.english)) return false;
    quickActions += c.quickAction ? 1 : 0;
    for (size_t j = i + 1; j < std::size(kCommands); ++j) {
      const Command& d = kCommands[j];
      if (c.id == d.id) return false;
      for (int key : {c.key, c.secondKey}) {
        if (key != 0 && (key == d.key || key == d.secondKey)) return false;
      }
    }
  }
  return quickActions == ui::kQuickActionCount;
}

}  // namespace detail

static_assert(detail::Consistent(), "the command table repeats an id or key, lacks a handler or label, or "
                                    "has another number of quick actions than the sidebar");

// What the window shows of the commands, in table order.
inline constexpr auto kCommandFaces = detail::Faces();

// The command a key press (a Windows virtual-key code) stands for; 0 for none.
int CommandForKey(int virtualKey);

// Where a key press happened. Shortcuts belong to the main window alone, never while typing
// in a text box, never with Alt held (the system's), and with Ctrl only where the table
// says so (kCtrlKey): the other Ctrl chords are the controls'.
struct KeyContext {
  bool mainWindowActive = false;
  bool ctrlHeld = false;
  bool altHeld = false;
  bool focusInTextBox = false;
};
// The command the key press stands for there; 0 when it is no shortcut there.
int ShortcutCommand(int virtualKey, const KeyContext& context);

}  // namespace app
