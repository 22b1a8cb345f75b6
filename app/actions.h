#pragma once
// What the user can ask for: one handler per action, on the UI thread. Each
// checks its precondition, asks through a dialog where needed, and hands the
// work to a background job; none runs a tool itself.
#include <string>

#include "core/firmware.h"

namespace app {

// On the selected entry.
void ActionSetDefault();
void ActionRename();
void ActionDelete();
void ActionBootOnce();
void ActionMove(int direction);  // -1 up, +1 down
void ActionShowInMenu();
void ActionPolicy();
void ActionBootOptions();
// On the boot manager.
void ActionToggleMenu();
void ActionTimeout();
// Stores.
void ActionRefresh();
void ShowStorePicker();
void BrowseStoreFile();
void ShowRawBcd();
// Creation, backups, the EFI System Partition, power.
void ActionCreateWinPe();
void ActionCreateWindows();
void ActionBackup();
void ActionRestore();
void ActionUndo();  // restores the backup taken before this session's last change
void ActionBackups();  // the backup history
// Ask first (`note` ends the question), then restore the loaded store, or the EFI System
// Partition, from a backup file.
void RestoreStoreFrom(const std::wstring& file, const std::wstring& note = L"");
void RestoreEfiFrom(const std::wstring& file);
void ActionBackupEfi();
void ActionRestoreEfi();
void ActionRepairEfi();
void ActionPower(zel::PowerAction action);
void ActionFirmwareOrder();  // the firmware's own boot order (UEFI, the running system's store)
// Carried out by the main window itself.
void SwitchStyle();
void SwitchLanguage();
void CopyLog();
void ClearLog();

enum class FileFilter { Wim, BcdBackup, BcdStore, Zip };
// The common file dialog: a chosen path, or empty when cancelled.
std::wstring PickFile(bool save, const std::wstring& title, FileFilter filter, const std::wstring& initialName,
                      const std::wstring& defaultExtension);

// The time-out box's text as seconds, when it is a valid time-out (0 to 3600).
bool ParseTimeoutText(const std::wstring& text, int& seconds);

}  // namespace app
