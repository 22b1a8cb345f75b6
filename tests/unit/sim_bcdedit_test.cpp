// The simulated bcdedit: what the end-to-end and platform flows do not reach
// through the program: argument splitting and quoting, the store file's round
// trip, normalised values, and every refusal, which must change nothing.
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
    files.mirrorSystemStore = [this](const BcdStore& store) { mirrored_.push_back(store); };
    return ExecuteBcdedit(SplitArguments(argumentText), files);
  }

  void Ok(const std::wstring& args) {
    EXPECT_EQ(Run(args).output, L"The operation completed successfully.\r\n") << zel::WideToUtf8(args);
  }

  // Must exit with 1 and a message containing `part`, leaving every file as it was.
  void Refused(const std::wstring& args, const std::wstring& part) {
    const auto before = files_;
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exitCode, 1) << zel::WideToUtf8(args);
    EXPECT_NE(outcome.output.find(part), npos) << zel::WideToUtf8(args) << "\n" << zel::WideToUtf8(outcome.output);
    EXPECT_EQ(files_, before) << zel::WideToUtf8(args);
  }

  // The GUID that a /create printed.
  std::wstring Created(const std::wstring& args) {
    const std::wstring output = Run(args).output;
    EXPECT_EQ(output, L"The entry " + zel::FirstGuid(output) + L" was successfully created.\r\n");
    return zel::FirstGuid(output);
  }

  // True when the verbose listing of `id` has the line `name  value`.
  bool Lists(const std::wstring& id, std::wstring name, const std::wstring& value) {
    name.resize(24, L' ');
    return Run(L"/enum " + id + L" /v").output.find(L"\r\n" + name + value + L"\r\n") != npos;
  }

  BcdStore Stored() {
    BcdStore store;
    std::wstring error;
    EXPECT_TRUE(LoadStore(files_[L"sys"], store, error)) << zel::WideToUtf8(error);
    return store;
  }

  std::map<std::wstring, std::string> files_;
  std::vector<BcdStore> mirrored_;  // what the registry was shown, in order
  bool writable_ = true;
};

TEST(SimArgv, SplitsAndStripsLikeTheCRuntime) {
  const std::pair<std::wstring, Args> cases[] = {
      {L"  /enum\t all  /v ", {L"/enum", L"all", L"/v"}},
      {L"a\"b c\"d \"\" e", {L"ab cd", L"", L"e"}},
      {L" \t ", {}},
      {L"C:\\a\\\\b\\", {L"C:\\a\\\\b\\"}},  // literal unless before a quote
      {L"a\\\\\"b c\"", {L"a\\b c"}},        // 2n + quote: n backslashes, quote delimits
      {L"a\\\"b c", {L"a\"b", L"c"}},        // 2n+1 + quote: n and a literal quote
      // A folder's last backslash must be doubled, or the quote is literal and swallows the rest.
      {L"/export \"D:\\Backups\\\\\" /v", {L"/export", L"D:\\Backups\\", L"/v"}},
      {L"/export \"D:\\Backups\\\" /v", {L"/export", L"D:\\Backups\" /v"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(SplitArguments(text), expected) << zel::WideToUtf8(text);

  // The program token has no escapes, and the argument text after it is kept verbatim.
  EXPECT_EQ(StripProgramToken(L"\"C:\\Program Files\\bcdedit.exe\"  /enum \"a  b\" "), L"/enum \"a  b\" ");
  EXPECT_EQ(StripProgramToken(L"\"C:\\dir\\\" /v"), L"/v");
  EXPECT_EQ(StripProgramToken(L"bcdedit.exe"), L"");
}

TEST(SimStore, RoundTripsTheAlignedTextToleratesEditsAndRefusesMalformedText) {
  BcdStore store = SmallStore();
  std::wstring error;
  store.comments = {L" a test store", L""};
  store.objects[1].elements.push_back({L"locale", {L""}});
  store.objects[1].elements.push_back({L"averyveryverylongelementname", {L"x"}});  // past column 24
  store.objects[2].elements.push_back({L"description", {L"Cứu hộ – WinPE  "}});
  store.objects.push_back({L"{5189b25c-5558-4bf2-bca4-289b11bd29e2}", L"RAM Defects", {}});
  BcdStore loaded;
  ASSERT_TRUE(LoadStore(SaveStore(store), loaded, error)) << zel::WideToUtf8(error);
  EXPECT_EQ(loaded, store);

  // CR LF, a byte order mark, blank lines, upper-case GUIDs, ragged columns.
  ASSERT_TRUE(LoadStore("\xEF\xBB\xBFzq-sim-bcd-store 1\r\n\r\n\r\n"
                        "object {9DEA862C-5CDD-4E70-ACC1-F32B344D4795}   Windows Boot Manager\r\n"
                        "timeout\t30\r\n"
                        "displayorder {11111111-2222-4333-8444-555555555555}\r\n"
                        "\t{aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}\r\n",
                        store, error))
      << zel::WideToUtf8(error);
  EXPECT_EQ(store.objects, (std::vector<BcdObject>{{kManager, L"Windows Boot Manager",
                                                    {{L"timeout", {L"30"}}, {L"displayorder", {kLoader, kWinPe}}}}}));

  const std::string head = "zq-sim-bcd-store 1\n";
  const std::string object = "object {9dea862c-5cdd-4e70-acc1-f32b344d4795} Windows Boot Manager\n";
  for (const std::string& text : {
           std::string("regf\x01\x02 binary hive\n"),
           head + "timeout 30\n",                                    // element outside an object
           head + object + object,
           head + object + "displayorder " + zel::WideToUtf8(kLoader) + "\n\n    " + zel::WideToUtf8(kWinPe) + "\n",
       }) {
    store = SmallStore();
    EXPECT_FALSE(LoadStore(text, store, error)) << text;
    EXPECT_EQ(store, SmallStore()) << text;
  }
}

// Values are stored as the tool prints them: quoting escapes, letter case, aliases.
TEST_F(SimBcdedit, SetNormalisesValuesAndUnquotes) {
  struct Case {
    std::wstring command, id, name, value;
  };
  const Case cases[] = {
      {L"/SET {BootMgr} DisplayBootMenu on", kManager, L"displaybootmenu", L"Yes"},
      {L"/set " + kOptions + L" ramdisksdidevice partition=e:", kOptions, L"ramdisksdidevice", L"partition=E:"},
      {L"/set " + kWinPe + L" osdevice \"ramdisk=[d:]\\my images\\boot.wim,{0D2E4F61-7A8B-4C9D-A0B1-C2D3E4F5A6B7}\"",
       kWinPe, L"osdevice", L"ramdisk=[D:]\\my images\\boot.wim," + kOptions},
      {L"/set description \"Running\"", kLoader, L"description", L"Running"},  // no identifier: {current}
      {L"/set " + kLoader + L" safeboot NETWORK", kLoader, L"safeboot", L"Network"},
  };
  for (const auto& c : cases) {
    Ok(c.command);
    EXPECT_TRUE(Lists(c.id, c.name, c.value)) << zel::WideToUtf8(c.command);
  }
  // /deletevalue takes the element away; the second time there is nothing to take.
  Ok(L"/deletevalue " + kLoader + L" SafeBoot");
  EXPECT_FALSE(Lists(kLoader, L"safeboot", L"Network"));
  EXPECT_TRUE(Lists(kLoader, L"description", L"Running"));
  Refused(L"/deletevalue " + kLoader + L" safeboot", L"Element not found.");
}

// Every way a command is refused: exit code 1, the tool's message, and no file touched.
TEST_F(SimBcdedit, RefusalsChangeNothing) {
  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  files_[L"bad.bcd"] = "regf binary hive";
  const std::wstring offline = L"/store \"D:\\copy\\BCD\" ";
  const std::wstring ramdisk = L" device ramdisk=[D:]\\sources\\boot.wim";
  const std::pair<std::wstring, std::wstring> refusals[] = {
      {offline + L"/enum {current} /v", L"not found"},  // an offline store has no {current}
      {offline + L"/set description x", L"not found"},
      {L"/store \"C:\\nowhere\\BCD\" /enum all /v", L"could not be opened"},
      {L"/enum " + kMissing + L" /v", L"not found"},
      {L"/store", L"The parameter is incorrect."},
      {L"/set " + kMissing + L" description x", L"not found"},
      {L"/set " + kLoader + L" frobnicate 1", L"Element not found."},
      {L"/set {bootmgr} winpe yes", L"does not apply"},
      {L"/set {bootmgr} displaybootmenu maybe", L"boolean"},
      {L"/set " + kLoader + L" bootmenupolicy Fancy", L"not valid for this element"},
      {L"/deletevalue " + kLoader, L"delete value command"},
      {L"/set " + kLoader + L" device C:", L"device"},
      {L"/set " + kWinPe + ramdisk, L"device"},                   // no options object
      {L"/set " + kWinPe + ramdisk + L"," + kLoader, L"device"},  // not device options
      {L"/set " + kLoader + L" description Windows 11 Pro", L"set command"},  // unquoted blanks
      {L"/set {fwbootmgr} displayorder " + kUsb + L" " + kLoader, L"setting the element data"},
      {L"/delete {bootmgr} /cleanup", L"/f"},  // well-known objects need /f
      {L"/default " + kMissing, L"not found"},
      {L"/timeout -5", L"integer"},
      {L"/timeout 99999999999999999999", L"integer"},
      {L"/displayorder " + kLoader + L" " + kMissing, L"not found"},
      {L"/create " + kLoader + L" /d x /application osloader", L"already exists"},
      {L"/createstore \"D:\\copy\\BCD\"", L"file exists"},
      {L"/import \"C:\\missing.bcd\"", L"cannot find the file"},
      {L"/import bad.bcd", L"corrupt"},
      {L"/store sys /export x.bcd", L"options specified"},
  };
  for (const auto& [command, part] : refusals) Refused(command, part);

  writable_ = false;  // every write fails: nothing is reported as done, and no GUID is printed
  Refused(L"/export \"Z:\\nowhere\\x.bcd\"", L"export operation has failed");
  Refused(L"/createstore new.bcd", L"store creation operation has failed");
  Refused(L"/create /d x /application osloader", L"write the boot configuration data store");
  EXPECT_EQ(zel::FirstGuid(Run(L"/create /d x /application osloader").output), L"");
  // A failed change shows the registry the file as it still is; a store file is never mirrored.
  mirrored_.clear();
  Run(L"/set " + kLoader + L" description x");
  EXPECT_EQ(mirrored_, std::vector<BcdStore>{Stored()});
  mirrored_.clear();
  writable_ = true;
  Ok(offline + L"/set " + kLoader + L" description y");
  EXPECT_TRUE(mirrored_.empty());

  files_[L"sys"] = "not a store\n";
  Refused(L"/enum all /v", L"could not be opened");
  files_[L"sys"] = SaveStore(BcdStore{});  // no boot manager to hold the settings
  EXPECT_EQ(Run(L"/enum all /v").output, L"There are no matching objects or the store is empty.\r\n");
  EXPECT_EQ(Run(L"/enum firmware").output, L"There are no matching objects or the store is empty.\r\n");
  Refused(L"/enum {default} /v", L"not found");
  Refused(L"/timeout 5", L"not found");
}

// A new store file starts empty, takes the well-known boot manager, and is the only file written;
// an import keeps the machine's running loader.
TEST_F(SimBcdedit, NewStoreFilesAndImport) {
  const std::wstring loader = Created(L"/create /d \"Rescue PE 2\" /application OSLOADER");
  EXPECT_EQ(loader.substr(15, 1), L"4");  // a random (version 4) GUID
  EXPECT_EQ(Run(L"/enum").output.find(loader), npos);  // not in the menu yet

  const std::wstring file = L"S:\\EFI\\Microsoft\\Boot\\BCD", store = L"/store \"" + file + L"\" ";
  const std::string system = files_[L"sys"];
  Ok(L"/createstore \"" + file + L"\"");
  EXPECT_EQ(files_[file], "zq-sim-bcd-store 1\n");
  EXPECT_EQ(Created(store + L"/create {bootmgr} /d \"Windows Boot Manager\""), kManager);
  const std::wstring entry = Created(store + L"/create /d \"Windows (D:)\" /application osloader");
  Ok(store + L"/default " + entry);
  EXPECT_NE(Run(store + L"/enum all /v").output.find(L"default                 " + entry), npos);
  EXPECT_EQ(files_[L"sys"], system);

  BcdStore other = SmallStore();
  other.currentId.clear();
  other.objects.pop_back();
  files_[L"other.bcd"] = SaveStore(other);
  Ok(L"/import other.bcd");
  other.currentId = kLoader;  // the running loader is the machine's, not the file's
  EXPECT_EQ(Stored(), other);
}

}  // namespace
}  // namespace sim
