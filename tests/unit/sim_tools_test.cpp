// The simulated tar (its ZIP library, and packing, listing and unpacking real
// folders), bcdboot on an in-memory disk, mountvol's decisions and the power
// tools' accepted forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdboot/bcdboot.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/store.h"
#include "sim/common/argv.h"
#include "sim/mountvol/mountvol.h"
#include "sim/power/power.h"
#include "sim/tar/tar_command.h"
#include "sim/tar/zip.h"

namespace sim {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::wstring>;

std::string Utf8(const std::wstring& text) { return zel::WideToUtf8(text); }

// Every byte value, so that no byte is mangled on the way through.
std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 512; ++i) bytes.push_back(static_cast<char>(i & 0xFF));
  return bytes;
}

std::vector<zip::Entry> SampleEntries() {
  return {
      {"EFI/", "", zip::MakeDosTime(2024, 2, 29, 23, 59, 58)},
      {"EFI/Microsoft/Boot/BCD", AllBytes(), zip::MakeDosTime(2023, 1, 2, 3, 4, 5)},
      {"EFI/empty.txt", "", {}},
      {"EFI/t\xC3\xAAn t\xE1\xBB\x87p.txt", "vi\xE1\xBB\x87t", {}},
      {"empty-folder/", "", {}},
  };
}

std::string Archive(const std::vector<zip::Entry>& entries) {
  zip::Writer writer;
  for (const auto& entry : entries) EXPECT_TRUE(writer.Add(entry)) << entry.name;
  return writer.Finish();
}

TEST(SimZip, WrittenMembersReadBackExactly) {
  const std::vector<zip::Entry> written = SampleEntries();
  std::vector<zip::Entry> read;
  std::string error;
  ASSERT_TRUE(zip::Read(Archive(written), read, error)) << error;
  EXPECT_EQ(read, written);
  EXPECT_TRUE(read[0].IsFolder());
  EXPECT_FALSE(read[2].IsFolder());

  // An empty archive is only the end record, and reads as no members.
  EXPECT_EQ(zip::Writer().Finish().size(), 22u);
  ASSERT_TRUE(zip::Read(zip::Writer().Finish(), read, error)) << error;
  EXPECT_TRUE(read.empty());
}

TEST(SimZip, ChecksumAndDatesFollowTheFormat) {
  EXPECT_EQ(zip::Crc32("123456789"), 0xCBF43926u);  // the published check value of CRC-32
  EXPECT_EQ(zip::Crc32(""), 0u);
  const zip::DosTime leap = zip::MakeDosTime(2024, 2, 29, 23, 59, 58);
  EXPECT_EQ(leap.date >> 9, 2024 - 1980);
  EXPECT_EQ((leap.date >> 5) & 0xF, 2);
  EXPECT_EQ(leap.date & 0x1F, 29);
  EXPECT_EQ(leap.time >> 11, 23);
  EXPECT_EQ((leap.time >> 5) & 0x3F, 59);
  EXPECT_EQ(leap.time & 0x1F, 29);  // two-second steps
  EXPECT_EQ(zip::MakeDosTime(1970, 1, 1, 0, 0, 0), zip::DosTime{});
}

TEST(SimZip, DamagedOrUnsupportedArchivesAreRefused) {
  const std::string good = Archive({{"a.txt", "hello", {}}});
  std::vector<zip::Entry> read{{"kept", "", {}}};
  std::string error;

  std::string flipped = good;
  flipped[30 + 5] ^= 1;  // first data byte, after the 30-byte local header and the name
  EXPECT_FALSE(zip::Read(flipped, read, error));
  EXPECT_NE(error.find("CRC"), std::string::npos) << error;

  std::string compressed = good;
  const size_t central = good.find("PK\x01\x02");
  compressed[central + 10] = 8;  // deflate
  EXPECT_FALSE(zip::Read(compressed, read, error));

  EXPECT_FALSE(zip::Read(good.substr(0, good.size() - 1), read, error));
  EXPECT_FALSE(zip::Read(good.substr(10), read, error));
  EXPECT_FALSE(zip::Read("not a zip at all, just some text long enough", read, error));
  EXPECT_EQ(error, "Unrecognized archive format");
  ASSERT_EQ(read.size(), 1u);  // failures leave the output alone
  EXPECT_EQ(read[0].name, "kept");
}

TEST(SimZip, UnsafeNamesAreTold) {
  for (const char* name : {"../x", "EFI/../../x", "..", "a/.. /b", "EFI\\..\\x", "a/.../b"}) {
    EXPECT_EQ(UnsafeMemberReason(name), "Path contains '..'") << name;
  }
  for (const char* name : {"/x", "\\x", "C:/x", "c:x"}) EXPECT_EQ(UnsafeMemberReason(name), "Path is absolute") << name;
  EXPECT_FALSE(UnsafeMemberReason("EFI/x:stream").empty());
  EXPECT_FALSE(UnsafeMemberReason("").empty());
  for (const char* name : {"EFI/Microsoft/Boot/BCD", "EFI/", "a..b/c", ".hidden", "./EFI/x"}) {
    EXPECT_TRUE(UnsafeMemberReason(name).empty()) << name;
  }
}

// A fresh folder under the system's temporary folder, removed afterwards.
class SimTar : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("zq-sim-tar-" + std::to_string(std::random_device()()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  static std::wstring Wide(const fs::path& path) {
    const std::u8string text = path.u8string();
    return zel::Utf8ToWide(std::string(text.begin(), text.end()));
  }

  static fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

  void Write(const std::string& relative, const std::string& bytes) {
    const fs::path path = root_ / Native(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  Outcome Tar(const Args& args) { return ExecuteTar(args); }

  fs::path root_;
};

TEST_F(SimTar, PacksListsAndUnpacksAFolderTree) {
  Write("esp/EFI/Microsoft/Boot/BCD", AllBytes());
  Write("esp/EFI/empty.txt", "");
  Write("esp/EFI/t\xC3\xAAn.txt", "vi\xE1\xBB\x87t");
  fs::create_directories(root_ / "esp" / "empty-folder");
  const std::wstring zipPath = Wide(root_ / "efi.zip");

  const Outcome packed = Tar({L"-a", L"-cf", zipPath, L"-C", Wide(root_ / "esp"), L"."});
  ASSERT_EQ(packed.exitCode, 0) << Utf8(packed.output);
  EXPECT_EQ(packed.output, L"");

  std::vector<zip::Entry> entries;
  std::string error;
  ASSERT_TRUE(zip::Read(Read(root_ / "efi.zip"), entries, error)) << error;
  std::map<std::string, std::string> members;
  for (const auto& entry : entries) members[entry.name] = entry.data;
  const std::map<std::string, std::string> expected = {
      {"EFI/", ""},          {"EFI/Microsoft/", ""}, {"EFI/Microsoft/Boot/", ""}, {"EFI/Microsoft/Boot/BCD", AllBytes()},
      {"EFI/empty.txt", ""}, {"EFI/t\xC3\xAAn.txt", "vi\xE1\xBB\x87t"}, {"empty-folder/", ""}};
  EXPECT_EQ(members, expected);
  EXPECT_EQ(entries.front().name, "EFI/");  // a folder comes before its content

  const Outcome listed = Tar({L"-tf", zipPath});
  ASSERT_EQ(listed.exitCode, 0);
  std::wstring names;
  for (const auto& entry : entries) names += zel::Utf8ToWide(entry.name) + L"\r\n";
  EXPECT_EQ(listed.output, names);

  fs::create_directories(root_ / "restored");
  const Outcome unpacked = Tar({L"-xf", zipPath, L"-C", Wide(root_ / "restored")});
  ASSERT_EQ(unpacked.exitCode, 0) << Utf8(unpacked.output);
  EXPECT_EQ(Read(root_ / "restored/EFI/Microsoft/Boot/BCD"), AllBytes());
  EXPECT_EQ(Read(root_ / Native("restored/EFI/t\xC3\xAAn.txt")), "vi\xE1\xBB\x87t");
  EXPECT_TRUE(fs::is_regular_file(root_ / "restored/EFI/empty.txt"));
  EXPECT_TRUE(fs::is_directory(root_ / "restored/empty-folder"));
}

TEST_F(SimTar, UnpackingRefusesMembersThatLeaveTheFolder) {
  const std::string hostile = Archive({{"../escaped.txt", "x", {}},
                                       {"EFI/../../up.txt", "x", {}},
                                       {"/abs.txt", "x", {}},
                                       {"EFI/ok.txt", "fine", {}}});
  Write("hostile.zip", hostile);
  fs::create_directories(root_ / "target" / "EFI");
  const std::wstring zipPath = Wide(root_ / "hostile.zip");

  const Outcome listed = Tar({L"-tf", zipPath});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(listed.output, L"../escaped.txt\r\nEFI/../../up.txt\r\n/abs.txt\r\nEFI/ok.txt\r\n");

  const Outcome unpacked = Tar({L"-xf", zipPath, L"-C", Wide(root_ / "target" / "EFI")});
  EXPECT_EQ(unpacked.exitCode, 1);
  EXPECT_NE(unpacked.output.find(L"tar: ../escaped.txt: Path contains '..'\r\n"), std::wstring::npos);
  EXPECT_NE(unpacked.output.find(L"tar: EFI/../../up.txt: Path contains '..'\r\n"), std::wstring::npos);
  EXPECT_NE(unpacked.output.find(L"tar: /abs.txt: Path is absolute\r\n"), std::wstring::npos);
  EXPECT_FALSE(fs::exists(root_ / "target" / "escaped.txt"));
  EXPECT_FALSE(fs::exists(root_ / "up.txt"));
  // The safe member is still unpacked, as the real tool does.
  EXPECT_EQ(Read(root_ / "target/EFI/EFI/ok.txt"), "fine");
}

TEST_F(SimTar, FailuresExitWithOneAndSayWhy) {
  Write("esp/a.txt", "a");
  Write("notzip.zip", "plain text");
  const std::wstring esp = Wide(root_ / "esp");
  const std::wstring missing = Wide(root_ / "missing.zip");
  struct Case {
    Args args;
    std::wstring part;
  };
  const Case cases[] = {
      {{L"-tf", missing}, L"Error opening archive: Failed to open"},
      {{L"-tf", Wide(root_ / "notzip.zip")}, L"Unrecognized archive format"},
      {{L"-a", L"-cf", Wide(root_ / "out.zip"), L"-C", Wide(root_ / "nowhere"), L"."}, L"could not chdir"},
      {{L"-a", L"-cf", Wide(root_ / "out.zip"), L"-C", esp, L"absent"}, L"absent: Cannot stat"},
      {{L"-cf", Wide(root_ / "out.tar"), L"-C", esp, L"."}, L"only ZIP archives"},
      {{L"-a", L"-cf", Wide(root_ / "out.zip"), L"-C", esp}, L"no files or directories specified"},
      {{L"-ct", L"-f", missing}, L"Can't specify both -c and -t"},
      {{L"-tf"}, L"Option -f requires an argument"},
      {{L"-tzf", missing}, L"Option -z is not supported"},
      {{L"-f", missing}, L"Must specify one of"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Tar(c.args);
    EXPECT_EQ(outcome.exitCode, 1) << Utf8(c.part);
    EXPECT_NE(outcome.output.find(c.part), std::wstring::npos) << Utf8(c.part) << "\n" << Utf8(outcome.output);
  }
  // A failed packing writes no archive: a partial backup would look whole.
  EXPECT_FALSE(fs::exists(root_ / "out.zip"));
  EXPECT_FALSE(fs::exists(root_ / "out.tar"));
}

// bcdboot against an in-memory disk; "sys" is the system store.
class SimBcdboot : public ::testing::Test {
 protected:
  // Folder names compare without case, as on Windows.
  void SetUp() override { folders_ = {L"d:\\windows", L"s:\\"}; }

  Outcome Run(const std::wstring& argumentText) {
    BcdbootFiles files;
    files.systemStorePath = L"sys";
    files.isFolder = [this](const std::wstring& path) { return folders_.count(zel::ToLower(path)) != 0; };
    files.createFolders = [this](const std::wstring& folder) { return folders_.insert(zel::ToLower(folder)), true; };
    files.read = [this](const std::wstring& path, std::string& bytes) {
      const auto found = files_.find(path);
      if (found == files_.end()) return false;
      bytes = found->second;
      return true;
    };
    files.write = [this](const std::wstring& path, std::string_view bytes) {
      files_[path] = std::string(bytes);
      return true;
    };
    return ExecuteBcdboot(SplitArguments(argumentText), files);
  }

  BcdStore Stored(const std::wstring& path) {
    BcdStore store;
    std::wstring error;
    EXPECT_TRUE(LoadStore(files_[path], store, error)) << Utf8(error);
    return store;
  }

  static std::vector<const BcdObject*> Loaders(const BcdStore& store) {
    std::vector<const BcdObject*> loaders;
    for (const auto& object : store.objects) {
      if (object.title == L"Windows Boot Loader") loaders.push_back(&object);
    }
    return loaders;
  }

  std::set<std::wstring> folders_;
  std::map<std::wstring, std::string> files_;
};

TEST_F(SimBcdboot, FillsAnEmptySystemPartition) {
  const Outcome outcome = Run(L"\"D:\\Windows\" /s S: /f UEFI");
  ASSERT_EQ(outcome.exitCode, 0) << Utf8(outcome.output);
  EXPECT_EQ(outcome.output, L"Boot files successfully created.\r\n");
  EXPECT_EQ(files_.count(L"S:\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), 1u);
  EXPECT_EQ(files_.count(L"S:\\EFI\\Boot\\bootx64.efi"), 1u);
  EXPECT_EQ(files_.count(L"S:\\bootmgr"), 0u);

  const BcdStore store = Stored(L"S:\\EFI\\Microsoft\\Boot\\BCD");
  const BcdObject* manager = store.FindObject(kBootManagerId);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->FirstValue(L"device"), L"partition=S:");
  EXPECT_EQ(manager->FirstValue(L"path"), L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi");
  const auto loaders = Loaders(store);
  ASSERT_EQ(loaders.size(), 1u);
  EXPECT_EQ(loaders[0]->FirstValue(L"device"), L"partition=D:");
  EXPECT_EQ(loaders[0]->FirstValue(L"osdevice"), L"partition=D:");
  EXPECT_EQ(loaders[0]->FirstValue(L"path"), L"\\Windows\\system32\\winload.efi");
  EXPECT_EQ(loaders[0]->FirstValue(L"systemroot"), L"\\Windows");
  EXPECT_EQ(manager->FirstValue(L"default"), loaders[0]->id);
  EXPECT_EQ(manager->Find(L"displayorder")->values, Args{loaders[0]->id});
  EXPECT_TRUE(IsBraceGuid(loaders[0]->id));
}

TEST_F(SimBcdboot, FirmwareChoosesFilesStoresAndLoader) {
  ASSERT_EQ(Run(L"D:\\Windows /s s:\\ /f bios").exitCode, 0);
  EXPECT_EQ(files_.count(L"S:\\bootmgr"), 1u);
  EXPECT_EQ(files_.count(L"S:\\EFI\\Microsoft\\Boot\\BCD"), 0u);
  EXPECT_EQ(Loaders(Stored(L"S:\\Boot\\BCD"))[0]->FirstValue(L"path"), L"\\Windows\\system32\\winload.exe");

  files_.clear();
  files_[L"D:\\Windows\\Boot\\EFI\\bootmgfw.efi"] = "real boot manager";
  ASSERT_EQ(Run(L"D:\\Windows /s S: /f ALL").exitCode, 0);
  EXPECT_EQ(files_[L"S:\\EFI\\Microsoft\\Boot\\bootmgfw.efi"], "real boot manager");  // copied, not invented
  EXPECT_EQ(Loaders(Stored(L"S:\\Boot\\BCD")).size(), 1u);
  EXPECT_EQ(Loaders(Stored(L"S:\\EFI\\Microsoft\\Boot\\BCD")).size(), 1u);
}

TEST_F(SimBcdboot, SystemStoreGetsTheEntryFirstOnceAndInItsFlavour) {
  std::string sample;
  {
    std::ifstream in(ZQ_SIM_STORES_DIR "/bios-legacy.txt", std::ios::binary);
    sample.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_FALSE(sample.empty());
  files_[L"sys"] = sample;
  const BcdStore before = Stored(L"sys");
  const std::wstring oldDefault = before.FindObject(kBootManagerId)->FirstValue(L"default");

  ASSERT_EQ(Run(L"D:\\Windows /d").exitCode, 0);
  BcdStore after = Stored(L"sys");
  const auto added = Loaders(after);
  ASSERT_EQ(added.size(), Loaders(before).size() + 1);
  const std::wstring id = added.back()->id;
  EXPECT_EQ(added.back()->FirstValue(L"path"), L"\\Windows\\system32\\winload.exe");  // a BIOS store
  const BcdObject* manager = after.FindObject(kBootManagerId);
  EXPECT_EQ(manager->FirstValue(L"default"), oldDefault);  // /d keeps it
  EXPECT_EQ(manager->Find(L"displayorder")->values.front(), id);
  EXPECT_EQ(manager->Find(L"displayorder")->values.size(), before.FindObject(kBootManagerId)->Find(L"displayorder")->values.size() + 1);
  EXPECT_EQ(after.currentId, before.currentId);

  // Run again for the same Windows: the entry is refreshed, not doubled, and becomes the default.
  ASSERT_EQ(Run(L"d:\\windows\\").exitCode, 0);
  after = Stored(L"sys");
  EXPECT_EQ(after.FindObject(id)->FirstValue(L"osdevice"), L"partition=D:");
  EXPECT_EQ(Loaders(after).size(), added.size());
  EXPECT_EQ(after.FindObject(kBootManagerId)->FirstValue(L"default"), id);
  EXPECT_EQ(after.FindObject(kBootManagerId)->Find(L"displayorder")->values.front(), id);
}

TEST_F(SimBcdboot, RefusalsChangeNothing) {
  files_[L"sys"] = "zq-sim-bcd-store 1\n";
  const auto before = files_;
  struct Case {
    std::wstring args;
    std::wstring part;
  };
  const Case cases[] = {
      {L"E:\\Windows /s S:", L"Failure when attempting to copy boot files."},
      {L"D:\\Windows /s Q:", L"Failure when attempting to copy boot files."},
      {L"D:\\Windows /f UEFI", L"bcdboot <source>"},
      {L"D:\\Windows /s S: /f ARM", L"bcdboot <source>"},
      {L"D:\\Windows /s", L"bcdboot <source>"},
      {L"D:\\Windows /addlast", L"bcdboot <source>"},
      {L"/s S:", L"bcdboot <source>"},
      {L"", L"bcdboot <source>"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.exitCode, 1) << Utf8(c.args);
    EXPECT_NE(outcome.output.find(c.part), std::wstring::npos) << Utf8(c.args) << "\n" << Utf8(outcome.output);
    EXPECT_EQ(files_, before) << Utf8(c.args);
  }
  files_[L"sys"] = "not a store";
  EXPECT_EQ(Run(L"D:\\Windows").output, L"Failure when attempting to update the boot configuration data store.\r\n");
  EXPECT_EQ(files_[L"sys"], "not a store");
}

// mountvol's decisions against a recorded machine.
class SimMountvol : public ::testing::Test {
 protected:
  Outcome Run(const std::wstring& argumentText) {
    MountHost host;
    host.espFolder = esp_;
    host.isFolder = [](const std::wstring& folder) { return folder == L"C:\\esp"; };
    host.letterInUse = [this](wchar_t letter) { return used_.count(letter) != 0; };
    host.mountedByUs = [this](wchar_t letter) { return ours_.count(letter) != 0; };
    host.mount = [this](wchar_t letter, const std::wstring& folder) {
      calls_.push_back(L"mount " + std::wstring(1, letter) + L" " + folder);
      return 0u;
    };
    host.unmount = [this](wchar_t letter) {
      calls_.push_back(L"unmount " + std::wstring(1, letter));
      return 5u;
    };
    host.errorText = [](uint32_t error) { return L"error " + std::to_wstring(error) + L"\r\n"; };
    return ExecuteMountvol(SplitArguments(argumentText), host);
  }

  std::wstring esp_ = L"C:\\esp";
  std::set<wchar_t> used_ = {L'C', L'Z'};
  std::set<wchar_t> ours_ = {L'Y'};
  std::vector<std::wstring> calls_;
};

TEST_F(SimMountvol, MountsOnlyFreeLettersAndRemovesOnlyItsOwn) {
  EXPECT_EQ(Run(L"x: /s").exitCode, 0);
  EXPECT_EQ(Run(L"W:\\ /S").exitCode, 0);
  EXPECT_EQ(calls_, (Args{L"mount X C:\\esp", L"mount W C:\\esp"}));
  calls_.clear();

  EXPECT_EQ(Run(L"Z: /S").output, L"The directory is not empty.\r\n");
  EXPECT_EQ(Run(L"C: /D").output, L"Access is denied.\r\n");
  EXPECT_EQ(Run(L"X: /D").output, L"The system cannot find the file specified.\r\n");
  EXPECT_TRUE(calls_.empty());

  used_.insert(L'Y');
  const Outcome removed = Run(L"Y: /D");
  EXPECT_EQ(removed.exitCode, 1);  // the machine's own failure is passed on
  EXPECT_EQ(removed.output, L"error 5\r\n");
  EXPECT_EQ(calls_, Args{L"unmount Y"});
}

TEST_F(SimMountvol, WithoutAPartitionOrWithBadArgumentsNothingIsMounted) {
  for (const wchar_t* bad : {L"X:", L"X: /S /D", L"X /S", L"XY: /S", L"1: /S", L"X: /L", L""}) {
    const Outcome outcome = Run(bad);
    EXPECT_EQ(outcome.exitCode, 1) << Utf8(bad);
    EXPECT_NE(outcome.output.find(L"MOUNTVOL drive: /S"), std::wstring::npos) << Utf8(bad);
  }
  esp_ = L"C:\\missing";
  EXPECT_EQ(Run(L"X: /S").output, L"The system cannot find the file specified.\r\n");
  esp_.clear();
  EXPECT_EQ(Run(L"X: /S").output, L"The parameter is incorrect.\r\n");
  EXPECT_TRUE(calls_.empty());
}

TEST(SimPower, AcceptsTheProgramsRequestsAndNothingElse) {
  for (const wchar_t* accepted : {L"/r /t 0", L"/s /t 0", L"/r /fw /t 0", L"-R -T 30", L"/s"}) {
    EXPECT_EQ(ExecuteShutdown(SplitArguments(accepted)).exitCode, 0) << Utf8(accepted);
  }
  for (const wchar_t* refused :
       {L"", L"/r /s /t 0", L"/fw /t 0", L"/r /t", L"/r /t x", L"/r /t 315360001", L"/r /r", L"/a", L"r /t 0"}) {
    const Outcome outcome = ExecuteShutdown(SplitArguments(refused));
    EXPECT_EQ(outcome.exitCode, 1) << Utf8(refused);
    EXPECT_NE(outcome.output.find(L"Usage: shutdown"), std::wstring::npos) << Utf8(refused);
  }
  EXPECT_EQ(ExecuteWpeutil({L"Reboot"}).exitCode, 0);
  EXPECT_EQ(ExecuteWpeutil({L"shutdown"}).exitCode, 0);
  for (const Args& refused : {Args{}, Args{L"Reboot", L"now"}, Args{L"InitializeNetwork"}}) {
    EXPECT_EQ(ExecuteWpeutil(refused).exitCode, 1);
  }
}

}  // namespace
}  // namespace sim
