// The simulated tar, bcdboot, mountvol and power tools where the end-to-end flows
// do not reach them: damaged and hostile archives, refusals, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdboot/bcdboot.h"
#include "sim/common/argv.h"
#include "sim/mountvol/mountvol.h"
#include "sim/power/power.h"
#include "sim/tar/tar_command.h"
#include "sim/tar/zip.h"
#include "tests/support/files.h"

namespace sim {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::wstring>;
using Files = std::map<std::string, std::string>;
constexpr auto npos = std::wstring::npos;

// Exit code 1 and a message holding `part`; otherwise what came instead.
::testing::AssertionResult Refused(const Outcome& outcome, const std::wstring& part) {
  if (outcome.exitCode == 1 && outcome.output.find(part) != npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "exit " << outcome.exitCode << ": " << zel::WideToUtf8(outcome.output);
}

std::string Archive(const std::vector<zip::Entry>& entries) {
  zip::Writer writer;
  for (const auto& entry : entries) EXPECT_TRUE(writer.Add(entry)) << entry.name;
  return writer.Finish();
}

// A fresh folder under the system's temporary folder, removed afterwards.
class SimTar : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
  std::wstring At(const std::string& relative) {
    const std::u8string text = (root_ / Native(relative)).u8string();
    return zel::Utf8ToWide(std::string(text.begin(), text.end()));
  }

  // Every file under the folder with its bytes, and every folder with "/" after its name.
  Files Tree() {
    Files tree;
    for (const auto& item : fs::recursive_directory_iterator(root_)) {
      const std::u8string name = item.path().lexically_relative(root_).generic_u8string();
      if (item.is_directory()) {
        tree[std::string(name.begin(), name.end()) + "/"] = "";
      } else {
        tree[std::string(name.begin(), name.end())] = zel::test::ReadBytes(item.path().wstring());
      }
    }
    return tree;
  }

  fs::path root_ = fs::temp_directory_path() / ("zq-sim-tar-" + std::to_string(std::random_device()()));
};

// Packing, listing and unpacking a partition run end to end (EFI backup and restore); here, refusals.
TEST_F(SimTar, UnpackingRefusesMembersThatLeaveTheFolder) {
  const char* hostile[] = {"../escaped.txt", "EFI/../../up.txt", "EFI\\..\\..\\bs.txt", "a/.. /b",
                           "/abs.txt",       "\\abs.txt",        "C:/x",               "c:x",
                           "EFI/x:stream",   ""};
  std::vector<zip::Entry> entries = {{"EFI/ok.txt", "fine", {}}, {"a..b/c", "", {}}, {"./dot", "", {}}};
  for (const char* name : hostile) entries.push_back({name, "x", {}});
  std::ofstream(root_ / "hostile.zip", std::ios::binary) << Archive(entries);
  fs::create_directories(root_ / "target" / "EFI");

  const Outcome unpacked = ExecuteTar({L"-xf", At("hostile.zip"), L"-C", At("target/EFI")});
  EXPECT_EQ(unpacked.exitCode, 1);
  for (const char* name : hostile) {
    EXPECT_NE(unpacked.output.find(L"tar: " + zel::Utf8ToWide(name) + L": "), npos) << name;
  }
  // Nothing lands outside the target; the safe members are still unpacked, as the real tool does.
  EXPECT_EQ(Tree(), (Files{{"hostile.zip", Archive(entries)}, {"target/", ""}, {"target/EFI/", ""},
                              {"target/EFI/EFI/", ""}, {"target/EFI/EFI/ok.txt", "fine"},
                              {"target/EFI/a..b/", ""}, {"target/EFI/a..b/c", ""}, {"target/EFI/dot", ""}}));
}

// Each failure exits with 1 and writes nothing: a damaged archive is refused whole, before
// anything is unpacked from it.
TEST_F(SimTar, FailuresExitWithOneAndWriteNothing) {
  fs::create_directories(root_ / "esp");
  std::ofstream(root_ / "notzip.zip") << "plain text";
  std::string damaged = Archive({{"EFI/ok.txt", "fine", {}}, {"EFI/bad.txt", "hello", {}}});
  damaged[damaged.find("hello")] ^= 1;
  std::ofstream(root_ / "damaged.zip", std::ios::binary) << damaged;
  const std::pair<Args, std::wstring> cases[] = {
      {{L"-tf", At("missing.zip")}, L"Error opening archive: Failed to open"},
      {{L"-tf", At("notzip.zip")}, L"Unrecognized archive format"},
      {{L"-tf", At("damaged.zip")}, L"'EFI/bad.txt' fails its CRC check"},
      {{L"-xf", At("damaged.zip"), L"-C", At("esp")}, L"'EFI/bad.txt' fails its CRC check"},
      {{L"-a", L"-cf", At("out.zip"), L"-C", At("nowhere"), L"."}, L"could not chdir"},
      {{L"-cf", At("out.tar"), L"-C", At("esp"), L"."}, L"only ZIP archives"},
  };
  for (const auto& [args, part] : cases) EXPECT_TRUE(Refused(ExecuteTar(args), part)) << zel::WideToUtf8(part);
  // A failed packing writes no archive: a partial backup would look whole.
  EXPECT_EQ(Tree(), (Files{{"damaged.zip", damaged}, {"esp/", ""}, {"notzip.zip", "plain text"}}));
}

// bcdboot against an in-memory disk; "sys" is the system store.
class SimBcdboot : public ::testing::Test {
 protected:
  Outcome Run(const std::wstring& argumentText) {
    BcdbootFiles files;
    files.systemStorePath = L"sys";
    // Folder names compare without case, as on Windows.
    files.isFolder = [this](const std::wstring& path) { return folders_.contains(zel::ToLower(path)); };
    files.createFolders = [this](const std::wstring& folder) { return folders_.insert(zel::ToLower(folder)), true; };
    files.read = [this](const std::wstring& path, std::string& bytes) {
      if (files_.contains(path)) bytes = files_[path];
      return files_.contains(path);
    };
    files.write = [this](const std::wstring& path, std::string_view bytes) { return files_[path] = bytes, true; };
    return ExecuteBcdboot(SplitArguments(argumentText), files);
  }

  std::set<std::wstring> folders_ = {L"d:\\windows", L"s:\\"};
  std::map<std::wstring, std::string> files_;
};

// Success runs end to end (the EFI repair and the Windows entry made with bcdboot); here, refusals.
TEST_F(SimBcdboot, RefusalsChangeNothing) {
  files_[L"sys"] = "zq-sim-bcd-store 1\n";
  const auto before = files_;
  for (const wchar_t* args : {L"E:\\Windows /s S:", L"D:\\Windows /s Q:"}) {  // no such Windows or partition
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exitCode, 1) << zel::WideToUtf8(args);
    EXPECT_EQ(outcome.output, L"Failure when attempting to copy boot files.\r\n") << zel::WideToUtf8(args);
  }
  for (const wchar_t* args : {L"D:\\Windows /f UEFI", L"D:\\Windows /s S: /f ARM", L"D:\\Windows /s", L"/s S:", L""}) {
    EXPECT_TRUE(Refused(Run(args), L"bcdboot <source>")) << zel::WideToUtf8(args);
  }
  EXPECT_EQ(files_, before);
  files_[L"sys"] = "not a store";
  EXPECT_EQ(Run(L"D:\\Windows").output, L"Failure when attempting to update the boot configuration data store.\r\n");
  EXPECT_EQ(files_[L"sys"], "not a store");
}

// mountvol's decisions against a recorded machine: C:, Y: and Z: are in use, and Y: is the tool's own.
TEST(SimMountvol, MountsOnlyFreeLettersAndRemovesOnlyItsOwn) {
  Args calls;
  MountHost host;
  host.espFolder = L"C:\\esp";
  host.isFolder = [](const std::wstring& folder) { return folder == L"C:\\esp"; };
  host.letterInUse = [](wchar_t letter) { return letter == L'C' || letter == L'Y' || letter == L'Z'; };
  host.mountedByUs = [](wchar_t letter) { return letter == L'Y'; };
  host.mount = [&](wchar_t letter, const std::wstring& folder) {
    return calls.push_back(L"mount " + std::wstring(1, letter) + L" " + folder), 0u;
  };
  host.unmount = [&](wchar_t letter) { return calls.push_back(L"unmount " + std::wstring(1, letter)), 5u; };
  host.errorText = [](uint32_t error) { return L"error " + std::to_wstring(error) + L"\r\n"; };
  const auto run = [&](const wchar_t* args) { return ExecuteMountvol(SplitArguments(args), host); };

  EXPECT_EQ(run(L"w:\\ /s").exitCode, 0);
  EXPECT_EQ(run(L"Z: /S").output, L"The directory is not empty.\r\n");
  EXPECT_EQ(run(L"C: /D").output, L"Access is denied.\r\n");
  EXPECT_EQ(run(L"V: /D").output, L"The system cannot find the file specified.\r\n");
  EXPECT_EQ(run(L"Y: /D").output, L"error 5\r\n");  // the machine's own failure is passed on
  EXPECT_EQ(calls, (Args{L"mount W C:\\esp", L"unmount Y"}));

  for (const wchar_t* bad : {L"X:", L"X: /S /D", L"X /S", L"XY: /S", L"1: /S", L"X: /L", L""}) {
    EXPECT_TRUE(Refused(run(bad), L"MOUNTVOL drive: /S")) << zel::WideToUtf8(bad);
  }
  host.espFolder = L"C:\\missing";
  EXPECT_EQ(run(L"X: /S").output, L"The system cannot find the file specified.\r\n");
  host.espFolder.clear();
  EXPECT_EQ(run(L"X: /S").output, L"The parameter is incorrect.\r\n");
  EXPECT_EQ(calls.size(), 2u);  // none of these reached the machine
}

// The program's shutdown forms run end to end; wpeutil only in WinPE, so here.
TEST(SimPower, AcceptsTheProgramsRequestsAndNothingElse) {
  for (const wchar_t* refused : {L"", L"/r /s /t 0", L"/fw /t 0", L"/r /t x", L"/r /t 315360001", L"r /t 0"}) {
    EXPECT_TRUE(Refused(ExecuteShutdown(SplitArguments(refused)), L"Usage: shutdown")) << zel::WideToUtf8(refused);
  }
  EXPECT_EQ(ExecuteWpeutil({L"Reboot"}).exitCode, 0);
  EXPECT_EQ(ExecuteWpeutil({L"shutdown"}).exitCode, 0);
  EXPECT_TRUE(Refused(ExecuteWpeutil({L"Reboot", L"now"}), L"Usage: wpeutil"));
  EXPECT_TRUE(Refused(ExecuteWpeutil({L"InitializeNetwork"}), L"Usage: wpeutil"));
}

}  // namespace
}  // namespace sim
