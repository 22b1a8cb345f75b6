#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/backup_history.h"
#include "core/bcd_backup.h"
#include "core/efi_backup.h"
#include "tests/support/fake_platform.h"

namespace zel {
namespace {

const std::wstring kFolder = L"X:\\Tools\\Backups";
const std::wstring kIndex = kFolder + L"\\history.txt";
const std::wstring kStore = L"D:\\Boot\\BCD";

// The backup folder beside the program, an offline store, and tools that succeed (tar makes its archive).
struct Machine : test::FakePlatform {
  explicit Machine(LocalTime time) {
    now = time;
    AddFolder(kFolder);
    AddFile(kStore);
    AddFile(systemDirectory + L"\\tar.exe");
    AddFolder(L"Z:\\");
    ReplyWhen(L"", 0, L"");
    onRun = [this](const test::RunCall& run) {
      if (run.arguments.starts_with(L"-a -cf \"")) AddFile(run.arguments.substr(8, run.arguments.find(L'"', 8) - 8));
    };
  }
};

std::vector<std::wstring> Names(const std::vector<BackupItem>& items) {
  std::vector<std::wstring> names;
  for (const auto& item : items) names.push_back(item.name);
  return names;
}

TEST(BackupHistory, LinesKeepTheirFourFieldsWhateverTheTextHolds) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"Đổi tên mục khởi động “x”", L"Đổi tên mục khởi động “x”"},
      {L"a\tb\r\nc\nd\x01\x7f\\", L"a b  c d  \\"},
      {std::wstring(5000, L'x'), std::wstring(2048, L'x')},
      {L"", L""},
  };
  for (const auto& [text, expected] : cases) {
    const auto parsed = ParseHistory(FormatHistoryLine({L"BCD_Store-D_20240101-000000-000_2.bcd", L"t", text, text}));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(std::tie(parsed[0].name, parsed[0].storePath, parsed[0].description),
              std::tie(L"BCD_Store-D_20240101-000000-000_2.bcd", expected, expected));
  }
}

TEST(BackupHistory, ListsEachGroupByTheTimeInTheNameThisRunsFirst) {
  Machine fake(LocalTime{2001, 1, 1, 0, 0, 0, 0});  // the clock set back: this run's backups have the oldest names
  const std::wstring old = kFolder + L"\\BCD_Store-D_20240301-100000-000";
  fake.AddFile(old + L"_2.bcd", L"", 0x20, 900);  // creation times that contradict the names
  fake.AddFile(old + L"_10.bcd", L"", 0x20, 100);
  fake.AddFile(kFolder + L"\\BCD_System_20240301-100000-000.bcd", L"", 0x20, 800);
  for (const wchar_t* name : {L"bcd_store-e_20240302-120000-000.BCD", L"EFI_20240101-000000-000_3.zip", L"mine.bcd",
                              L"BCD-manual.bcd", L"BCD_notes.bcd", L"BCD_x_20240101-000000-000.bcd.LOG1",
                              L"BCD_a b_20240101-000000-000.bcd", L"BCD_Store-D_my-own-copy-of-it-1.bcd",
                              L"EFI_x_20240101-000000-000.zip", L"EFI_20240101-000000-000.zip.tmp-1.zip"}) {
    fake.AddFile(kFolder + L"\\" + name);
  }
  fake.AddFolder(kFolder + L"\\BCD_System_20240401-000000-000.bcd");
  std::wstring bcd, efi;
  Fault error;
  ASSERT_TRUE(BackupStoreBeforeChange(kStore, L"Rename boot entry", bcd, error));
  ASSERT_TRUE(SnapshotEfiBeforeChange(L"Repair EFI", efi, error));

  const BackupList list = ListBackups();
  EXPECT_EQ(list.folder, kFolder);
  ASSERT_EQ(Names(list.stores),
            (std::vector<std::wstring>{L"BCD_Store-D_20010101-000000-000.bcd", L"bcd_store-e_20240302-120000-000.BCD",
                                       L"BCD_Store-D_20240301-100000-000_10.bcd", L"BCD_Store-D_20240301-100000-000_2.bcd",
                                       L"BCD_System_20240301-100000-000.bcd"}));
  ASSERT_EQ(Names(list.efi), (std::vector<std::wstring>{L"EFI_20010101-000000-000.zip", L"EFI_20240101-000000-000_3.zip"}));
  const BackupItem& taken = list.stores[0];
  EXPECT_EQ(std::tie(taken.path, taken.time, taken.storePath, taken.description, taken.indexed, taken.takenThisRun),
            std::make_tuple(bcd, L"2001-01-01 00:00:00", kStore, L"Rename boot entry", true, true));
  EXPECT_EQ(std::tie(list.efi[0].path, list.efi[0].storePath, list.efi[0].description), std::make_tuple(efi, L"", L"Repair EFI"));
  EXPECT_EQ(list.stores[1].time, L"2024-03-02 12:00:00");
  EXPECT_FALSE(list.stores[1].indexed || list.stores[1].takenThisRun || list.efi[1].indexed);
}

TEST(BackupHistory, ADamagedOrMissingIndexOnlyLosesWhatItCannotVouchFor) {
  const std::string name = "BCD_Store-D_20240501-000000-000.bcd";
  const std::string good = name + "\t2024-05-01 00:00:00\tD:\\Boot\\BCD\tRename boot entry\n";
  const std::string outside = "BCD_Store-D_20240502-000000-000.bcd\tt\t\tRename boot entry\n";
  const std::pair<std::string, bool> cases[] = {  // the index, and whether it still vouches for the backup
      {good, true},
      {"", false},                                       // no index at all
      {good.substr(0, good.size() - 1), false},          // cut off mid-write
      {name + "\t2024" + good, false},                   // glued to a line cut off mid-write
      {std::string("\0\xff\x01\t\t\t\n", 7) + good, true},  // binary junk
      {std::string(2 << 20, 'x') + "\n" + good, true},   // a huge line: the end of the index is read
      {name + "\tt\t\t" + std::string(100000, 'y') + "\n", false},
      {"\xEF\xBB\xBF" + good.substr(0, good.size() - 1) + "\r\n", true},  // saved again by an editor
      {name + "\tt\tD:\\Boot\\BCD\n", false},
      {name + "\tt\tD:\\Boot\\BCD\td\te\n", false},
      {name + "\tt\tD:\\Boot\\BCD\tRe\x1bname\n", false},
      {"X:\\Tools\\Backups\\" + good + "..\\" + outside + "X:\\Tools\\" + outside + "/" + good, false},  // paths
      {"bcd_store-d_20240501-000000-000.BCD" + good.substr(name.size()), true},
  };
  for (const auto& [bytes, indexed] : cases) {
    Machine fake(LocalTime{});
    fake.AddFile(kFolder + L"\\BCD_Store-D_20240501-000000-000.bcd");
    fake.AddFile(L"X:\\Tools\\BCD_Store-D_20240502-000000-000.bcd");  // named by lines, but outside the folder
    if (!bytes.empty()) fake.WriteNewFile(kIndex, bytes);
    const BackupList list = ListBackups(kFolder);
    ASSERT_EQ(list.stores.size(), 1u) << bytes.substr(0, 60);
    EXPECT_EQ(list.stores[0].description, indexed ? L"Rename boot entry" : L"") << bytes.substr(0, 60);
    EXPECT_EQ(list.stores[0].indexed, indexed) << bytes.substr(0, 60);
  }
}

TEST(BackupHistory, PruningKeepsTheIndexWhichForgetsThePrunedAndNeverFailsABackup) {
  Machine fake(LocalTime{2023, 6, 1, 0, 0, 0, 0});
  std::string index = "garbage\n\n";
  for (int i = 10; i < 45; ++i) {  // 34 older backups with their lines, and the line of one long gone
    const std::wstring name = L"BCD_System_20230101-0000" + std::to_wstring(i) + L"-000.bcd";
    if (i != 44) fake.AddFile(kFolder + L"\\" + name);
    index += FormatHistoryLine({name, L"t", L"", L"Set default boot entry"});
  }
  fake.WriteNewFile(kIndex, index + "BCD_System_2023");  // the last line cut off mid-write
  std::wstring path;
  Fault error;
  for (int i = 0; i < 3; ++i) {
    fake.now.millisecond = i;
    ASSERT_TRUE(BackupStoreBeforeChange(kStore, L"Delete boot entry", path, error));
    const BackupList list = ListBackups(kFolder);
    ASSERT_EQ(list.stores.size(), 30u);  // this run's, then the newest of the others
    EXPECT_EQ(list.stores[29].name, L"BCD_System_20230101-0000" + std::to_wstring(15 + i) + L"-000.bcd");
    for (const auto& item : list.stores) EXPECT_TRUE(item.indexed) << item.name;
    ASSERT_TRUE(fake.Exists(kIndex));
    EXPECT_EQ(std::count(fake.Find(kIndex)->bytes.begin(), fake.Find(kIndex)->bytes.end(), '\n'), 30);  // no more
  }
  fake.writeError = 5;  // the index cannot be written: the backup still counts
  ASSERT_TRUE(BackupStoreBeforeChange(kStore, L"Delete boot entry", path, error));
  const BackupList list = ListBackups(kFolder);
  ASSERT_EQ(list.stores.size(), 30u);
  EXPECT_EQ(list.stores[0].path, path);
  EXPECT_FALSE(list.stores[0].indexed);

  Machine fresh(LocalTime{2022, 1, 1, 0, 0, 0, 0});  // a huge line before sound ones: cut down all the same
  fresh.WriteNewFile(kIndex, std::string(2 << 20, 'x') + "\n");
  ASSERT_TRUE(BackupStoreBeforeChange(kStore, L"Set Boot Once", path, error));
  EXPECT_EQ(fresh.Find(kIndex)->bytes, "BCD_Store-D_20220101-000000-000.bcd\t2022-01-01 00:00:00\tD:\\Boot\\BCD\tSet Boot Once\n");
}

}  // namespace
}  // namespace zel
