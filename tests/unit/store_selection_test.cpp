#include "core/store_selection.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace zel {
namespace {

const std::wstring kHivelist = L"SYSTEM\\CurrentControlSet\\Control\\hivelist|\\REGISTRY\\MACHINE\\BCD00000000";

// "System" and "Store-D" name the automatic backups (BcdBackup.AutomaticBackupNamesAndFailures).
TEST(StoreSelection, LabelOfAStoreWithoutADriveLetter) {
  EXPECT_EQ(StoreLabel(L"\\\\?\\Volume{1b2c3d4e-0000-0000-0000-000000000000}\\EFI\\Microsoft\\Boot\\BCD"), L"Store");
}

TEST(StoreSelection, RecognisesTheLiveHiveByDriveOrVolume) {
  test::FakePlatform fake;
  fake.registry[kHivelist] = L"\\Device\\HarddiskVolume1\\EFI\\Microsoft\\Boot\\BCD \r\n";
  fake.dosDevices[L"S:"] = L"\\Device\\HarddiskVolume1";
  fake.dosDevices[L"D:"] = L"\\Device\\HarddiskVolume4";
  fake.dosDevices[L"Volume{0f0f0f0f-1111-2222-3333-444444444444}"] = L"\\Device\\HarddiskVolume1";

  EXPECT_FALSE(IsSystemStoreFile(L""));
  EXPECT_TRUE(IsSystemStoreFile(L"S:\\efi\\MICROSOFT\\boot\\bcd"));
  EXPECT_FALSE(IsSystemStoreFile(L"D:\\EFI\\Microsoft\\Boot\\BCD"));  // a copy on another drive
  EXPECT_TRUE(IsSystemStoreFile(L"\\\\?\\Volume{0f0f0f0f-1111-2222-3333-444444444444}\\EFI\\Microsoft\\Boot\\BCD"));
  EXPECT_FALSE(IsSystemStoreFile(L"\\\\?\\volume{0f0f0f0f-1111-2222-3333-444444444444}\\EFI\\Microsoft\\Boot\\BCD"));
  EXPECT_FALSE(IsSystemStoreFile(L"S:"));  // too short to name a file
  EXPECT_FALSE(IsSystemStoreFile(L"T:\\EFI\\Microsoft\\Boot\\BCD"));  // no such device

  fake.registry.clear();  // no BCD hive loaded
  EXPECT_FALSE(IsSystemStoreFile(L"S:\\EFI\\Microsoft\\Boot\\BCD"));
}

TEST(StoreSelection, FindsStoresOnDrivesAndUnletteredVolumes) {
  test::FakePlatform fake;
  EXPECT_TRUE(FindStoreFiles().empty());

  fake.driveRoots = {L"C:\\", L"D:\\"};
  const std::wstring esp = L"\\\\?\\Volume{0f0f0f0f-1111-2222-3333-444444444444}\\";
  fake.volumeNames = {esp, L"\\\\?\\Volume{0f0f0f0f-1111-2222-3333-555555555555}\\"};
  fake.AddFile(L"D:\\Boot\\BCD");
  fake.AddFile(esp + L"EFI\\Microsoft\\Boot\\BCD");
  fake.AddFolder(L"C:\\Boot\\BCD");  // a folder is not a store
  EXPECT_EQ(FindStoreFiles(), (std::vector<std::wstring>{esp + L"EFI\\Microsoft\\Boot\\BCD", L"D:\\Boot\\BCD"}));

  fake.volumeNames.push_back(L"\\\\?\\VOLUME{0F0F0F0F-1111-2222-3333-444444444444}");  // the same volume again
  fake.AddFile(L"\\\\?\\VOLUME{0F0F0F0F-1111-2222-3333-444444444444}\\EFI\\Microsoft\\Boot\\BCD");
  EXPECT_EQ(FindStoreFiles().size(), 2u);
}

}  // namespace
}  // namespace zel
