#include "core/backup_history.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/backup_folder.h"
#include "core/platform.h"
#include "core/text.h"
#include "core/utf8.h"

namespace zel {
namespace {

// Far beyond a real path or description; what is longer is cut when written.
constexpr size_t kMaxFieldChars = 2048;
// No line FormatHistoryLine writes is longer (4 bytes per character at most).
constexpr size_t kMaxLineBytes = 4 * (4 * kMaxFieldChars + 4);
// The index is read from its end: the newest lines are there.
constexpr size_t kMaxIndexBytes = 1 << 20;

enum class BackupKind { None, Store, Efi };

bool IsControl(wchar_t c) { return c < 0x20 || c == 0x7F; }

bool IsLabelChar(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-'; }

// BCD_<label>_<time stamp>[_n].bcd or EFI_<time stamp>[_n].zip, in any case, as
// NewBackupPath makes them; `stamp` gets the time stamp.
BackupKind ClassifyBackupName(const std::wstring& name, std::wstring& stamp) {
  const std::wstring lower = ToLower(name);
  BackupKind kind = BackupKind::None;
  if (lower.starts_with(L"bcd_") && lower.ends_with(L".bcd")) kind = BackupKind::Store;
  if (lower.starts_with(L"efi_") && lower.ends_with(L".zip")) kind = BackupKind::Efi;
  if (kind == BackupKind::None || lower.size() < 8 + kTimestampLength) return BackupKind::None;
  size_t end = lower.size() - 4;  // the extension
  size_t digits = end;
  while (digits > 0 && end - digits < 10 && lower[digits - 1] >= L'0' && lower[digits - 1] <= L'9') --digits;
  if (digits < end && lower[digits - 1] == L'_' && digits - 1 >= kTimestampLength + 4 &&
      IsTimestampAt(lower, digits - 1 - kTimestampLength)) {
    end = digits - 1;  // a "_n" counter
  }
  const size_t at = end - kTimestampLength;
  if (!IsTimestampAt(lower, at)) return BackupKind::None;
  if (kind == BackupKind::Efi ? at != 4
                              : at < 6 || lower[at - 1] != L'_' ||
                                    !std::all_of(lower.begin() + 4, lower.begin() + (at - 1), IsLabelChar)) {
    return BackupKind::None;
  }
  stamp = lower.substr(at, kTimestampLength);
  return kind;
}

// "20250302-090507-004" -> "2025-03-02 09:05:07".
std::wstring DisplayTime(const std::wstring& stamp) {
  return stamp.substr(0, 4) + L"-" + stamp.substr(4, 2) + L"-" + stamp.substr(6, 2) + L" " + stamp.substr(9, 2) + L":" +
         stamp.substr(11, 2) + L":" + stamp.substr(13, 2);
}

std::string Field(const std::wstring& text) {
  std::wstring clean = text.substr(0, kMaxFieldChars);
  std::replace_if(clean.begin(), clean.end(), IsControl, L' ');
  return WideToUtf8(clean);
}

bool ParseLine(const std::wstring& text, HistoryLine& line) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (size_t tab; (tab = text.find(L'\t', start)) != std::wstring::npos; start = tab + 1) {
    fields.push_back(text.substr(start, tab - start));
  }
  fields.push_back(text.substr(start));
  std::wstring stamp;
  if (fields.size() != 4 || std::any_of(text.begin(), text.end(), [](wchar_t c) { return c != L'\t' && IsControl(c); }) ||
      ClassifyBackupName(fields[0], stamp) == BackupKind::None) {
    return false;
  }
  line = HistoryLine{fields[0], fields[1], fields[2], fields[3]};
  return true;
}

std::wstring IndexPath(const std::wstring& folder) { return folder + L"\\" + kHistoryFileName; }

// The index's last kMaxIndexBytes, from the first whole line; `cut` when there was
// more before them. False when it cannot be read.
bool ReadIndex(const std::wstring& folder, std::string& bytes, bool& cut) {
  if (!CurrentPlatform().ReadFileEnd(IndexPath(folder), kMaxIndexBytes, bytes)) return false;
  cut = bytes.size() >= kMaxIndexBytes;
  if (cut) {
    const size_t newline = bytes.find('\n');
    bytes.erase(0, newline == std::string::npos ? bytes.size() : newline + 1);
  }
  return true;
}

// Keeps the last line of each backup that is still in the folder, in the order
// written; the file is replaced in one step, and only when a line has to go.
void TrimIndex(const std::wstring& folder) {
  Platform& platform = CurrentPlatform();
  std::string bytes;
  bool cut = false;
  if (!ReadIndex(folder, bytes, cut)) return;
  const size_t written = std::count(bytes.begin(), bytes.end(), '\n') + (bytes.empty() || bytes.back() == '\n' ? 0 : 1);

  std::set<std::wstring> present;
  for (const auto& item : platform.ListFolder(folder)) {
    if (item.isFile) present.insert(ToLower(item.name));
  }
  const std::vector<HistoryLine> lines = ParseHistory(bytes);
  std::vector<const HistoryLine*> kept;
  std::set<std::wstring> seen;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const std::wstring key = ToLower(line->name);
    if (present.count(key) && seen.insert(key).second) kept.push_back(&*line);
  }
  if (!cut && kept.size() == written) return;

  std::string text;
  for (auto line = kept.rbegin(); line != kept.rend(); ++line) text += FormatHistoryLine(**line);
  const std::wstring temporary = IndexPath(folder) + L"." + std::to_wstring(platform.ProcessId()) + L".tmp";
  if (platform.WriteNewFile(temporary, text) != 0 || platform.MoveFileReplacing(temporary, IndexPath(folder)) != 0) {
    DeleteFileForce(temporary);
  }
}

struct Listed {
  BackupAge age;
  BackupItem item;
};

std::vector<BackupItem> NewestFirst(std::vector<Listed>& listed) {
  std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
    if (a.item.takenThisRun != b.item.takenThisRun) return a.item.takenThisRun;
    return a.age > b.age;
  });
  std::vector<BackupItem> items;
  for (auto& entry : listed) items.push_back(std::move(entry.item));
  return items;
}

}  // namespace

std::string FormatHistoryLine(const HistoryLine& line) {
  return Field(line.name) + "\t" + Field(line.time) + "\t" + Field(line.storePath) + "\t" + Field(line.description) + "\n";
}

std::vector<HistoryLine> ParseHistory(std::string_view bytes) {
  std::vector<HistoryLine> lines;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);  // saved again by an editor
  for (size_t end; (end = bytes.find('\n')) != std::string_view::npos; bytes.remove_prefix(end + 1)) {
    std::string_view raw = bytes.substr(0, end);
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    HistoryLine line;
    if (raw.size() <= kMaxLineBytes && ParseLine(Utf8ToWide(raw), line)) lines.push_back(std::move(line));
  }
  return lines;  // what follows the last LF was cut off mid-write
}

void RecordBackup(const std::wstring& backupFile, const std::wstring& storePath, const std::wstring& description) {
  const size_t slash = backupFile.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return;
  const std::wstring folder = backupFile.substr(0, slash);
  HistoryLine line{backupFile.substr(slash + 1), L"", storePath, description};
  std::wstring stamp;
  if (ClassifyBackupName(line.name, stamp) == BackupKind::None) return;
  line.time = DisplayTime(stamp);

  Platform& platform = CurrentPlatform();
  std::string text = FormatHistoryLine(line);
  std::string last;
  // After a line cut off mid-write, this one starts a line of its own.
  if (platform.ReadFileEnd(IndexPath(folder), 1, last) && !last.empty() && last != "\n") text.insert(0, "\n");
  if (platform.AppendToFile(IndexPath(folder), text) != 0) return;
  TrimIndex(folder);
}

BackupList ListBackups(const std::wstring& folder) {
  BackupList list;
  list.folder = folder;
  if (folder.empty()) return list;
  std::map<std::wstring, HistoryLine> known;
  std::string bytes;
  bool cut = false;
  if (ReadIndex(folder, bytes, cut)) {
    for (auto& line : ParseHistory(bytes)) known[ToLower(line.name)] = std::move(line);  // the last line wins
  }
  std::vector<Listed> stores, efi;
  for (const auto& entry : CurrentPlatform().ListFolder(folder)) {
    std::wstring stamp;
    const BackupKind kind = entry.isFile ? ClassifyBackupName(entry.name, stamp) : BackupKind::None;
    if (kind == BackupKind::None) continue;
    BackupItem item{folder + L"\\" + entry.name, entry.name, DisplayTime(stamp)};
    item.takenThisRun = IsOwnBackup(item.path);
    const auto found = known.find(ToLower(entry.name));
    if (found != known.end()) {
      item.storePath = found->second.storePath;
      item.description = found->second.description;
      item.indexed = true;
    }
    (kind == BackupKind::Store ? stores : efi).push_back(Listed{BackupAge(ToLower(entry.name)), std::move(item)});
  }
  list.stores = NewestFirst(stores);
  list.efi = NewestFirst(efi);
  return list;
}

BackupList ListBackups() { return ListBackups(FindBackupFolder()); }

}  // namespace zel
