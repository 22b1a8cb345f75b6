// The simulated bcdedit: argument splitting, the store file, the /enum listing
// and its failures, the write commands and their refusals.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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

// Boot manager, a Windows loader (default and running), a WinPE RAM-disk entry and its options.
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

  Args Values(const std::wstring& id, const std::wstring& element) {
    const BcdStore store = Stored();
    const BcdElement* found = store.FindObject(id) ? store.FindObject(id)->Find(element) : nullptr;
    return found ? found->values : Args{};
  }

  std::map<std::wstring, std::string> files_;
  std::vector<BcdStore> mirrored_;  // what the registry was shown, in order
  bool writable_ = true;
};

TEST_F(SimBcdedit, TheSystemStoreIsMirroredAsTheFileHoldsIt) {
  Ok(L"/set " + kLoader + L" description \"C\u1ee9u h\u1ed9\"");
  ASSERT_EQ(mirrored_.size(), 2u);  // as opened, then as saved
  EXPECT_EQ(mirrored_[0], SmallStore());
  EXPECT_EQ(mirrored_[1], Stored());
  // A failed change shows the file as it still is; a store file is never mirrored.
  mirrored_.clear();
  writable_ = false;
  EXPECT_EQ(Run(L"/set " + kLoader + L" description x").exitCode, 1);
  EXPECT_EQ(mirrored_, std::vector<BcdStore>{Stored()});
  mirrored_.clear();
  writable_ = true;
  files_[L"other"] = files_[L"sys"];
  Ok(L"/store other /set " + kLoader + L" description y");
  EXPECT_TRUE(mirrored_.empty());
}

TEST(SimArgv, SplitsAndStripsLikeTheCRuntime) {
  const std::pair<std::wstring, Args> cases[] = {
      {L"  /enum\t all  /v ", {L"/enum", L"all", L"/v"}},
      {L"/store \"C:\\My Stores\\BCD\" /enum", {L"/store", L"C:\\My Stores\\BCD", L"/enum"}},
      {L"a\"b c\"d \"\" e", {L"ab cd", L"", L"e"}},
      {L" \t ", {}},
      {L"C:\\a\\\\b\\", {L"C:\\a\\\\b\\"}},              // literal unless before a quote
      {L"a\\\\\"b c\"", {L"a\\b c"}},                     // 2n + quote: n backslashes, quote delimits
      {L"a\\\"b c", {L"a\"b", L"c"}},                     // 2n+1 + quote: n and a literal quote
      {L"a\\\\\\\"b", {L"a\\\"b"}},
      {L"\"say \"\"hi\"\"\" x", {L"say \"hi\"", L"x"}},  // "" inside quotes is one quote
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
           head + "object {9dea862c-5cdd-4e70-acc1-f32b344d4795}\n",  // no title
           head + "object {bootmgr} Windows Boot Manager\n",          // alias, not a GUID
           head + object + object,
           head + object + "displayorder " + zel::WideToUtf8(kLoader) + "\n\n    " + zel::WideToUtf8(kWinPe) + "\n",
       }) {
    store = SmallStore();
    EXPECT_FALSE(LoadStore(text, store, error)) << text;
    EXPECT_EQ(store, SmallStore()) << text;
  }
}

TEST_F(SimBcdedit, ShortFormOtherStoresAndFailures) {
  const std::wstring active = Run(L"/enum").output;  // boot manager, then the menu's entries
  EXPECT_TRUE(active.starts_with(L"\r\nWindows Boot Manager\r\n--------------------\r\n"
                                 L"identifier              {bootmgr}\r\n"));
  EXPECT_EQ(active.find(L"Device options"), npos);

  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  const std::wstring offline = L"/store \"D:\\copy\\BCD\" ";
  Refused(offline + L"/enum {current} /v", L"not found");
  EXPECT_NE(Run(offline + L"/enum {default}").output.find(L"identifier              {default}\r\n"), npos);
  EXPECT_EQ(Run(offline + L"/enum all /v").output, Run(L"/enum all /v").output);

  Refused(L"/store \"C:\\nowhere\\BCD\" /enum all /v", L"could not be opened");
  Refused(L"/enum " + kMissing + L" /v", L"not found");
  for (const wchar_t* bad : {L"/enum {nonsense} /v", L"/enum all {default} /v", L"/enum all /x", L"/frobnicate",
                             L"/store", L"/store \"\" /enum"}) {
    Refused(bad, L"The parameter is incorrect.");
  }
  files_[L"sys"] = "not a store\n";
  Refused(L"/enum all /v", L"could not be opened");
  files_[L"sys"] = SaveStore(BcdStore{});
  EXPECT_EQ(Run(L"/enum all /v").output, L"There are no matching objects or the store is empty.\r\n");
  Refused(L"/enum {default} /v", L"not found");
}

TEST_F(SimBcdedit, SetWritesValuesAsTheToolPrintsThemAndRefusesBadInput) {
  struct Case {
    std::wstring command, id, name, value;
  };
  const Case cases[] = {
      {L"/set " + kWinPe + L" description \"Rescue PE  (x64)\"", kWinPe, L"description", L"Rescue PE  (x64)"},
      {L"/SET {BootMgr} DisplayBootMenu on", kManager, L"displaybootmenu", L"Yes"},
      {L"/set " + kOptions + L" ramdisksdidevice partition=e:", kOptions, L"ramdisksdidevice", L"partition=E:"},
      {L"/set " + kWinPe + L" osdevice \"ramdisk=[d:]\\my images\\boot.wim,{0D2E4F61-7A8B-4C9D-A0B1-C2D3E4F5A6B7}\"",
       kWinPe, L"osdevice", L"ramdisk=[D:]\\my images\\boot.wim," + kOptions},
      // Before the closing quote a doubled backslash leaves one; a lone one escapes the quote.
      {L"/set " + kLoader + L" description \"Windows 11 (D:)\\\\\"", kLoader, L"description", L"Windows 11 (D:)\\"},
      {L"/set " + kLoader + L" description \"Tools\\\" x", kLoader, L"description", L"Tools\" x"},
      {L"/set description \"Running\"", kLoader, L"description", L"Running"},  // no identifier: {current}
      {L"/set " + kLoader + L" inherit {bootloadersettings}", kLoader, L"inherit",  // absent, yet well known
       L"{6efb52bf-1766-41db-a6b3-0ee5eff72bd7}"},
  };
  for (const auto& c : cases) {
    Ok(c.command);
    EXPECT_TRUE(Lists(c.id, c.name, c.value)) << zel::WideToUtf8(c.command);
  }

  // Replacing keeps an element in its place; a new one goes where the tool lists it.
  Ok(L"/set " + kWinPe + L" winpe 0");
  Ok(L"/set " + kLoader + L" device boot");
  const BcdStore store = Stored();
  Args names;
  for (const auto& element : store.FindObject(kWinPe)->elements) names.push_back(element.name);
  EXPECT_EQ(names, (Args{L"device", L"description", L"osdevice", L"winpe"}));
  EXPECT_EQ(store.FindObject(kWinPe)->FirstValue(L"winpe"), L"No");
  EXPECT_EQ(store.FindObject(kLoader)->elements.front(), (BcdElement{L"device", {L"boot"}}));

  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  const std::wstring ramdisk = L" device ramdisk=[D:]\\sources\\boot.wim";
  const std::pair<std::wstring, std::wstring> refusals[] = {
      {L"/set " + kMissing + L" description x", L"not found"},
      {L"/store \"D:\\copy\\BCD\" /set description x", L"not found"},  // an offline store has no {current}
      {L"/set " + kLoader + L" frobnicate 1", L"Element not found."},
      {L"/set {bootmgr} winpe yes", L"does not apply"},
      {L"/set {bootmgr} displaybootmenu maybe", L"boolean"},
      {L"/set " + kLoader + L" bootmenupolicy Fancy", L"not valid for this element"},
      {L"/set " + kLoader + L" device C:", L"device"},
      {L"/set " + kWinPe + ramdisk, L"device"},                   // no options object
      {L"/set " + kWinPe + ramdisk + L"," + kLoader, L"device"},  // not device options
      {L"/set " + kLoader + L" description Windows 11 Pro", L"set command"},  // unquoted blanks
  };
  for (const auto& [command, part] : refusals) Refused(command, part);
}

TEST_F(SimBcdedit, DeleteCleansUpReferencesUnlessToldNot) {
  const std::wstring resume = L"{44e32b4a-5b47-4c4f-a090-e9d8bbdf1ae4}";
  BcdStore store = SmallStore();
  store.objects[0].elements.push_back({L"bootsequence", {kWinPe}});
  store.objects[0].elements.push_back({L"resumeobject", {resume}});
  store.objects[1].elements.push_back({L"resumeobject", {resume}});
  store.objects.push_back({resume, L"Resume from Hibernate", {{L"description", {L"Resume"}}}});
  const std::string original = files_[L"sys"] = SaveStore(store);

  Ok(L"/delete " + kWinPe + L" /nocleanup");
  EXPECT_EQ(Stored().FindObject(kWinPe), nullptr);
  EXPECT_EQ(Values(kManager, L"displayorder"), (Args{kLoader, kWinPe}));
  files_[L"sys"] = original;
  Ok(L"/delete " + kWinPe + L" /cleanup");
  EXPECT_EQ(Values(kManager, L"displayorder"), Args{kLoader});
  EXPECT_EQ(Values(kManager, L"bootsequence"), Args{});
  EXPECT_NE(Stored().FindObject(kOptions), nullptr);  // the options object is the caller's business

  // Without a switch the tool cleans up too; the loader's own resume object goes with it.
  Ok(L"/delete {default}");
  const BcdStore after = Stored();
  EXPECT_EQ(after.FindObject(resume), nullptr);
  for (const wchar_t* element : {L"displayorder", L"resumeobject", L"default"}) {
    EXPECT_EQ(after.objects[0].Find(element), nullptr) << zel::WideToUtf8(element);
  }
  // A resume object that another loader still uses stays.
  store.objects[2].elements.push_back({L"resumeobject", {resume}});
  files_[L"sys"] = SaveStore(store);
  Ok(L"/delete " + kLoader);
  EXPECT_NE(Stored().FindObject(resume), nullptr);

  // Well-known objects need /f, which is harmless for any other.
  Refused(L"/delete {bootmgr} /cleanup", L"/f");
  Refused(L"/delete {ramdiskoptions} /f", L"not found");
  Refused(L"/delete " + kWinPe + L" /cleanup /nocleanup", L"options specified");
  Ok(L"/DELETE {BOOTMGR} /F");
  Ok(L"/delete " + kOptions + L" /f");
  EXPECT_EQ(Stored().objects, (std::vector<BcdObject>{store.objects[2], store.objects[4]}));
}

TEST_F(SimBcdedit, BootManagerSettingsAndMenus) {
  Ok(L"/displayorder " + kWinPe + L" " + kLoader + L" " + kWinPe);  // a repeat is dropped
  Ok(L"/displayorder " + kOptions + L" /ADDLAST");
  Ok(L"/displayorder {current} /addfirst");  // already listed: it moves
  EXPECT_EQ(Values(kManager, L"displayorder"), (Args{kLoader, kWinPe, kOptions}));
  Ok(L"/displayorder " + kMissing + L" /remove");  // a stale identifier may be removed
  Ok(L"/displayorder " + kWinPe + L" /remove");
  EXPECT_EQ(Values(kManager, L"displayorder"), (Args{kLoader, kOptions}));
  // Removing the last value takes the element along.
  for (const std::wstring& id : {kLoader, kOptions}) Ok(L"/displayorder " + id + L" /remove");
  EXPECT_EQ(Stored().objects[0].Find(L"displayorder"), nullptr);

  Refused(L"/default " + kMissing, L"not found");
  for (const wchar_t* bad : {L"/timeout -5", L"/timeout \"\"", L"/timeout 99999999999999999999"}) {
    Refused(bad, L"integer");
  }
  Refused(L"/displayorder " + kWinPe + L" " + kLoader + L" /addlast", L"options specified");
  Refused(L"/displayorder " + kLoader + L" " + kMissing, L"not found");
  Refused(L"/displayorder {nonsense} /addlast", L"not valid");
  files_[L"sys"] = SaveStore(BcdStore{});  // no boot manager to hold the settings
  Refused(L"/timeout 5", L"not found");
}

TEST_F(SimBcdedit, CreatePrintsANewGuidAndMakesObjectsThatEnumerate) {
  const std::wstring loader = Created(L"/create /d \"Rescue PE 2\" /application OSLOADER");
  EXPECT_EQ(loader.substr(15, 1), L"4");  // a random (version 4) GUID
  EXPECT_EQ(Run(L"/enum " + loader + L" /v").output,
            L"\r\nWindows Boot Loader\r\n-------------------\r\n"
            L"identifier              " + loader + L"\r\n"
            L"description             Rescue PE 2\r\n");
  EXPECT_EQ(Run(L"/enum").output.find(loader), npos);  // not in the menu yet
  EXPECT_NE(Created(L"/create /D \"Rescue PE 2 ramdisk options\" /device"), loader);
  const std::wstring chosen = L"{12345678-9abc-4def-8123-456789abcdef}";
  EXPECT_EQ(Created(L"/create " + chosen + L" /d x /application bootsector"), chosen);
  Refused(L"/create " + kLoader + L" /d x /application osloader", L"already exists");
  Refused(L"/create " + kMissing + L" /d x", L"options specified");  // no type
  Refused(L"/create {default} /d x /application osloader", L"not valid");

  // A new store file starts empty, takes the well-known boot manager, and is the only file written.
  const std::wstring file = L"S:\\EFI\\Microsoft\\Boot\\BCD", store = L"/store \"" + file + L"\" ";
  const std::string system = files_[L"sys"];
  Ok(L"/createstore \"" + file + L"\"");
  EXPECT_EQ(files_[file], "zq-sim-bcd-store 1\n");
  Refused(L"/createstore \"" + file + L"\"", L"file exists");
  Refused(store + L"/createstore \"D:\\other\"", L"options specified");
  EXPECT_EQ(Created(store + L"/create {bootmgr} /d \"Windows Boot Manager\""), kManager);
  const std::wstring entry = Created(store + L"/create /d \"Windows (D:)\" /application osloader");
  Ok(store + L"/default " + entry);
  EXPECT_NE(Run(store + L"/enum all /v").output.find(L"default                 " + entry), npos);
  EXPECT_EQ(files_[L"sys"], system);
}

TEST_F(SimBcdedit, ExportImportAndFailedWrites) {
  BcdStore other = SmallStore();
  other.currentId.clear();
  other.objects.pop_back();
  files_[L"other.bcd"] = SaveStore(other);
  Ok(L"/import other.bcd");
  other.currentId = kLoader;  // the running loader is the machine's, not the file's
  EXPECT_EQ(Stored(), other);

  files_[L"bad.bcd"] = "regf binary hive";
  Refused(L"/import \"C:\\missing.bcd\"", L"cannot find the file");
  Refused(L"/import bad.bcd", L"corrupt");
  Refused(L"/store sys /export x.bcd", L"options specified");
  writable_ = false;
  Refused(L"/export \"Z:\\nowhere\\x.bcd\"", L"export operation has failed");
  Refused(L"/createstore new.bcd", L"store creation operation has failed");
  Refused(L"/timeout 3", L"write the boot configuration data store");
  Refused(L"/create /d x /application osloader", L"write the boot configuration data store");
  EXPECT_EQ(zel::FirstGuid(Run(L"/create /d x /application osloader").output), L"");  // never saved, no GUID
}

}  // namespace
}  // namespace sim
