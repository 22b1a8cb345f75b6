// The simulated bcdedit where the end-to-end flows do not reach it: quoting, and
// every refusal of what the real tool refuses, which must change nothing, so that
// a wrongly formed command from the program fails here as it would on a machine.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/firmware_order.h"
#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdedit/commands.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/store.h"
#include "sim/common/argv.h"

namespace sim {
namespace {

using Args = std::vector<std::wstring>;
constexpr auto npos = std::wstring::npos;

const std::wstring kManager(kBootManagerId);
const std::wstring kLoader = L"{11111111-2222-4333-8444-555555555555}";
const std::wstring kWinPe = L"{aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}";
const std::wstring kOptions = L"{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}";
const std::wstring kMissing = L"{99999999-2222-4333-8444-555555555555}";
const std::wstring kUsb = L"{1f0d7a52-8c3e-4b6a-9e21-5d4c3b2a1f00}";

// Boot manager, a Windows loader (default and running), a WinPE RAM-disk entry and its options;
// last, the firmware's boot manager and a USB stick it can start.
BcdStore SmallStore() {
  BcdStore store;
  store.currentId = kLoader;
  store.objects = {
      {kManager, L"Windows Boot Manager",
       {{L"description", {L"Windows Boot Manager"}}, {L"default", {kLoader}},
        {L"displayorder", {kLoader, kWinPe}}, {L"timeout", {L"30"}}}},
      {kLoader, L"Windows Boot Loader",
       {{L"path", {L"\\Windows\\system32\\winload.efi"}}, {L"description", {L"Windows 11"}}}},
      {kWinPe, L"Windows Boot Loader",
       {{L"device", {L"ramdisk=[D:]\\sources\\boot.wim," + kOptions}}, {L"winpe", {L"Yes"}}}},
      {kOptions, L"Device options", {{L"ramdisksdipath", {L"\\boot\\boot.sdi"}}}},
      {zel::FirmwareBootManagerGuid, L"Firmware Boot Manager", {{L"displayorder", {kManager, kUsb}}, {L"timeout", {L"2"}}}},
      {kUsb, L"Firmware Application (101fffff)", {{L"description", {L"UEFI: SanDisk Cruzer Blade 1.00"}}}},
  };
  return store;
}

// Runs the simulator against in-memory files: "sys" is the system store.
class SimBcdedit : public ::testing::Test {
 protected:
  void SetUp() override { files_[L"sys"] = SaveStore(SmallStore()); }

  Outcome Run(const std::wstring& argumentText) {
    StoreFiles files;
    files.systemStorePath = L"sys";
    files.read = [this](const std::wstring& path, std::string& bytes) {
      if (files_.contains(path)) bytes = files_[path];
      return files_.contains(path);
    };
    files.write = [this](const std::wstring& path, std::string_view bytes) {
      if (writable_) files_[path] = std::string(bytes);
      return writable_;
    };
    files.mirrorSystemStore = [this](const BcdStore&) { ++mirrored_; };
    return ExecuteBcdedit(SplitArguments(argumentText), files);
  }

  // Must exit with 1 and a message containing `part`, leaving every file as it was.
  void Refused(const std::wstring& args, const std::wstring& part) {
    const auto before = files_;
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exitCode, 1) << zel::WideToUtf8(args);
    EXPECT_NE(outcome.output.find(part), npos) << zel::WideToUtf8(args) << "\n" << zel::WideToUtf8(outcome.output);
    EXPECT_EQ(files_, before) << zel::WideToUtf8(args);
  }

  std::map<std::wstring, std::string> files_;
  int mirrored_ = 0;  // how often the registry copy was shown a store
  bool writable_ = true;
};

TEST(SimArgv, SplitsLikeTheCRuntime) {
  const std::pair<std::wstring, Args> cases[] = {
      {L"  /enum\t all  /v ", {L"/enum", L"all", L"/v"}},
      {L"a\"b c\"d \"\" e", {L"ab cd", L"", L"e"}},
      // Backslashes are literal unless before a quote: 2n and a quote are n and a delimiting quote,
      // 2n+1 and a quote n and a literal quote. So a folder's last backslash must be doubled, or the
      // quote is literal and swallows the rest.
      {L"/export \"D:\\Backups\\\\\" /v", {L"/export", L"D:\\Backups\\", L"/v"}},
      {L"/export \"D:\\Backups\\\" /v", {L"/export", L"D:\\Backups\" /v"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(SplitArguments(text), expected) << zel::WideToUtf8(text);
}

// Every way a command is refused: exit code 1, the tool's message, and no file touched.
TEST_F(SimBcdedit, RefusalsChangeNothing) {
  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  files_[L"bad.bcd"] = "regf binary hive";
  const std::wstring offline = L"/store \"D:\\copy\\BCD\" ";
  const std::wstring ramdisk = L" device ramdisk=[D:]\\sources\\boot.wim";
  const std::pair<std::wstring, std::wstring> refusals[] = {
      {offline + L"/enum {current} /v", L"not found"},  // an offline store has no {current}
      {L"/store \"C:\\nowhere\\BCD\" /enum all /v", L"could not be opened"},
      {L"/enum " + kMissing + L" /v", L"not found"},
      {L"/set " + kMissing + L" description x", L"not found"},
      {L"/set " + kLoader + L" frobnicate 1", L"Element not found."},
      {L"/set {bootmgr} winpe yes", L"does not apply"},
      {L"/set {bootmgr} displaybootmenu maybe", L"boolean"},
      {L"/set " + kLoader + L" bootmenupolicy Fancy", L"not valid for this element"},
      {L"/deletevalue " + kLoader, L"delete value command"},
      {L"/deletevalue " + kLoader + L" safeboot", L"Element not found."},  // not set: nothing to take
      {L"/set " + kLoader + L" device C:", L"device"},
      {L"/set " + kWinPe + ramdisk, L"device"},                               // no options object
      {L"/set " + kWinPe + ramdisk + L"," + kLoader, L"device"},              // not device options
      {L"/set " + kLoader + L" description Windows 11 Pro", L"set command"},  // unquoted blanks
      {L"/set {fwbootmgr} displayorder " + kUsb + L" " + kLoader, L"setting the element data"},
      {L"/delete {bootmgr} /cleanup", L"/f"},  // well-known objects need /f
      {L"/default " + kMissing, L"not found"},
      {L"/timeout -5", L"integer"},
      {L"/displayorder " + kLoader + L" " + kMissing, L"not found"},
      {L"/create " + kLoader + L" /d x /application osloader", L"already exists"},
      {L"/createstore \"D:\\copy\\BCD\"", L"file exists"},
      {L"/import \"C:\\missing.bcd\"", L"cannot find the file"},
      {L"/import bad.bcd", L"corrupt"},
      {L"/store sys /export x.bcd", L"options specified"},
  };
  for (const auto& [command, part] : refusals) Refused(command, part);

  writable_ = false;  // a backup that cannot be written is not reported as made
  Refused(L"/export \"Z:\\nowhere\\x.bcd\"", L"export operation has failed");
  // A store file never reaches the registry copy, or the program would read the system's names for it.
  writable_ = true;
  mirrored_ = 0;
  EXPECT_EQ(Run(offline + L"/set " + kLoader + L" description y").exitCode, 0);
  EXPECT_EQ(mirrored_, 0);

  files_[L"sys"] = "not a store\n";
  Refused(L"/enum all /v", L"could not be opened");
  files_[L"sys"] = SaveStore(BcdStore{});  // no boot manager to hold the settings
  Refused(L"/enum {default} /v", L"not found");
  Refused(L"/timeout 5", L"not found");
}

}  // namespace
}  // namespace sim
