#pragma once
// What the automatic backups were for. The file names tell the kind and the time;
// a small UTF-8 index beside them (history.txt) adds the store each one was taken
// of and the change that followed. The names stay the authority: the index is only
// looked up by names found in the folder, so a missing or damaged one loses those
// two facts and nothing else.
#include <string>
#include <string_view>
#include <vector>

namespace zel {

inline constexpr wchar_t kHistoryFileName[] = L"history.txt";

// One line of the index: name TAB time TAB store TAB change LF.
struct HistoryLine {
  std::wstring name;         // the backup's file name, never a path
  std::wstring time;         // "2025-03-02 09:05:07", from the name
  std::wstring storePath;    // empty: the running system's store (and every EFI snapshot)
  std::wstring description;  // the change that followed, as the log names it
};

// The line as written: control characters become blanks and overlong fields are
// cut, so no text can break the format.
std::string FormatHistoryLine(const HistoryLine& line);
// The lines FormatHistoryLine could have written for an automatic backup's name;
// unfinished, binary, overlong and path-naming lines are left out.
std::vector<HistoryLine> ParseHistory(std::string_view bytes);

// Adds the backup's line to the index in its folder, then rewrites the index
// without lines of files that are gone or damaged, so it stays the folder's size.
// Silent about failures: the index never fails a backup.
void RecordBackup(const std::wstring& backupFile, const std::wstring& storePath, const std::wstring& description);

struct BackupItem {
  std::wstring path;
  std::wstring name;
  std::wstring time;         // "2025-03-02 09:05:07", from the name: the same in both languages
  std::wstring storePath;    // empty: the running system's store, or not known
  std::wstring description;  // empty when not known
  bool indexed = false;      // the index had a line for it
  bool takenThisRun = false;
};

struct BackupList {
  std::wstring folder;
  std::vector<BackupItem> stores;  // BCD_<label>_<time>[_n].bcd
  std::vector<BackupItem> efi;     // EFI_<time>[_n].zip
};

// The folder's automatic backups, each group in the order pruning keeps them: this
// run's first, then by the time in the name, then the "_n" counter, newest first.
// Files named any other way are left out: they carry no time to sort by, and a
// creation time lies once the clock was set back.
BackupList ListBackups(const std::wstring& folder);
// The backups in the folder FindBackupFolder() gives; an empty list when there is none.
BackupList ListBackups();

}  // namespace zel
