// The simulated bcdedit: argument splitting, the store file, the /enum listing
// and its failures, the write commands and their refusals, and that listings
// read back through the real parser.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/bcd_parser.h"
#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdedit/commands.h"
#include "sim/bcdedit/identifiers.h"
#include "sim/bcdedit/store.h"
#include "sim/common/argv.h"
#include "sim/common/controls.h"

namespace sim {
namespace {

using Args = std::vector<std::wstring>;

const std::wstring kLoader = L"{11111111-2222-4333-8444-555555555555}";
const std::wstring kWinPe = L"{aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}";
const std::wstring kOptions = L"{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}";

// A small store: boot manager, a Windows loader (default and running), a
// WinPE RAM-disk entry and its options object.
BcdStore SmallStore() {
  BcdStore store;
  store.currentId = kLoader;
  store.objects = {
      {std::wstring(kBootManagerId), L"Windows Boot Manager",
       {{L"description", {L"Windows Boot Manager"}},
        {L"default", {kLoader}},
        {L"displayorder", {kLoader, kWinPe}},
        {L"timeout", {L"30"}}}},
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
      const auto found = files_.find(path);
      if (found == files_.end()) return false;
      bytes = found->second;
      return true;
    };
    files.write = [this](const std::wstring& path, std::string_view bytes) {
      if (!writable_) return false;
      files_[path] = std::string(bytes);
      return true;
    };
    return ExecuteBcdedit(SplitArguments(argumentText), files);
  }

  // Runs a command that must succeed with the usual line.
  void Ok(const std::wstring& argumentText) {
    const Outcome outcome = Run(argumentText);
    EXPECT_EQ(outcome.exitCode, 0) << zel::WideToUtf8(argumentText) << "\n"
                                   << zel::WideToUtf8(outcome.output);
    EXPECT_EQ(outcome.output, L"The operation completed successfully.\r\n") << zel::WideToUtf8(argumentText);
  }

  // Runs a command that must fail with a message containing `part`, leaving every file as it was.
  void Refused(const std::wstring& argumentText, const std::wstring& part) {
    const auto before = files_;
    const Outcome outcome = Run(argumentText);
    EXPECT_EQ(outcome.exitCode, 1) << zel::WideToUtf8(argumentText);
    EXPECT_NE(outcome.output.find(part), std::wstring::npos)
        << zel::WideToUtf8(argumentText) << "\n" << zel::WideToUtf8(outcome.output);
    EXPECT_EQ(outcome.output.find(L"success"), std::wstring::npos) << zel::WideToUtf8(argumentText);
    EXPECT_EQ(files_, before) << zel::WideToUtf8(argumentText);
  }

  // The GUID that a /create printed, after checking the line's exact wording.
  std::wstring Created(const std::wstring& argumentText) {
    const Outcome outcome = Run(argumentText);
    const std::wstring guid = zel::FirstGuid(outcome.output);
    EXPECT_EQ(outcome.exitCode, 0) << zel::WideToUtf8(outcome.output);
    EXPECT_EQ(outcome.output, L"The entry " + guid + L" was successfully created.\r\n");
    return guid;
  }

  // True when the verbose listing of `id` has the line `name  value`.
  bool Lists(const std::wstring& id, std::wstring name, const std::wstring& value) {
    name.resize(24, L' ');
    return Run(L"/enum " + id + L" /v").output.find(L"\r\n" + name + value + L"\r\n") != std::wstring::npos;
  }

  BcdStore Stored(const std::wstring& path = L"sys") {
    BcdStore store;
    std::wstring error;
    EXPECT_TRUE(LoadStore(files_[path], store, error)) << zel::WideToUtf8(error);
    return store;
  }

  // The values of one element of one object, as the store file holds them.
  Args Values(const std::wstring& id, const std::wstring& element, const std::wstring& path = L"sys") {
    const BcdStore store = Stored(path);
    const BcdObject* object = store.FindObject(id);
    const BcdElement* found = object != nullptr ? object->Find(element) : nullptr;
    return found != nullptr ? found->values : Args{};
  }

  std::map<std::wstring, std::string> files_;
  bool writable_ = true;
};

TEST(SimArgv, SplitsLikeTheCRuntime) {
  EXPECT_EQ(SplitArguments(L"  /enum\t all  /v "), (Args{L"/enum", L"all", L"/v"}));
  EXPECT_EQ(SplitArguments(L"/store \"C:\\My Stores\\BCD\" /enum"),
            (Args{L"/store", L"C:\\My Stores\\BCD", L"/enum"}));
  EXPECT_EQ(SplitArguments(L"a\"b c\"d \"\" e"), (Args{L"ab cd", L"", L"e"}));
  EXPECT_EQ(SplitArguments(L""), Args{});
  EXPECT_EQ(SplitArguments(L" \t "), Args{});
  // Backslashes are literal unless they come before a quote.
  EXPECT_EQ(SplitArguments(L"C:\\a\\\\b\\"), (Args{L"C:\\a\\\\b\\"}));
  // 2n backslashes + quote: n backslashes, and the quote delimits.
  EXPECT_EQ(SplitArguments(L"a\\\\\"b c\""), (Args{L"a\\b c"}));
  // 2n+1 backslashes + quote: n backslashes and a literal quote.
  EXPECT_EQ(SplitArguments(L"a\\\"b c"), (Args{L"a\"b", L"c"}));
  EXPECT_EQ(SplitArguments(L"a\\\\\\\"b"), (Args{L"a\\\"b"}));
  // Two quotes inside a quoted part give one literal quote.
  EXPECT_EQ(SplitArguments(L"\"say \"\"hi\"\"\" x"), (Args{L"say \"hi\"", L"x"}));
}

TEST(SimArgv, TrailingBackslashBeforeClosingQuote) {
  // A folder path ending in a backslash must have it doubled, or the quote is
  // taken literally and swallows the next argument.
  EXPECT_EQ(SplitArguments(L"/export \"D:\\Backups\\\\\" /v"), (Args{L"/export", L"D:\\Backups\\", L"/v"}));
  EXPECT_EQ(SplitArguments(L"/export \"D:\\Backups\\\" /v"), (Args{L"/export", L"D:\\Backups\" /v"}));
}

TEST(SimArgv, StripProgramTokenKeepsTheArgumentTextVerbatim) {
  EXPECT_EQ(StripProgramToken(L"\"C:\\Program Files\\x\\bcdedit.exe\"  /enum \"a  b\" "),
            L"/enum \"a  b\" ");
  EXPECT_EQ(StripProgramToken(L"bcdedit.exe\t/enum all"), L"/enum all");
  EXPECT_EQ(StripProgramToken(L"\"C:\\dir\\\" /v"), L"/v");  // no escapes in the program token
  EXPECT_EQ(StripProgramToken(L"bcdedit.exe"), L"");
  EXPECT_EQ(StripProgramToken(L"\"C:\\a b\\bcdedit.exe\""), L"");
}

TEST(SimControls, LogFailureAndDelayDecisions) {
  EXPECT_EQ(LogLineText(L"bcdedit", L"/enum all /v"), L"bcdedit /enum all /v");
  EXPECT_EQ(LogLineText(L"bcdedit", L""), L"bcdedit ");

  Controls controls;
  EXPECT_FALSE(ShouldFail(controls, L"bcdedit /delete {x}"));
  controls.failText = L"/delete";
  EXPECT_TRUE(ShouldFail(controls, L"bcdedit /delete {x} /cleanup"));
  EXPECT_FALSE(ShouldFail(controls, L"bcdedit /DELETE {x}"));
  controls.failText = L"bcdedit /enum {current}";
  EXPECT_TRUE(ShouldFail(controls, L"bcdedit /enum {current} /v"));
  EXPECT_FALSE(ShouldFail(controls, L"bcdedit /enum all /v"));

  EXPECT_EQ(ParseDelayMs(L" 250 "), 250u);
  EXPECT_EQ(ParseDelayMs(L""), 0u);
  EXPECT_EQ(ParseDelayMs(L"-5"), 0u);
  EXPECT_EQ(ParseDelayMs(L"12ms"), 0u);
  EXPECT_EQ(ParseDelayMs(L"99999999999999999999"), 600000u);
  EXPECT_EQ(SimulatedFailure().exitCode, 1);
}

TEST(SimStore, SaveThenLoadGivesTheSameStore) {
  BcdStore store = SmallStore();
  store.comments = {L" a test store", L""};
  store.objects[1].elements.push_back({L"averyveryverylongelementname", {L"x"}});
  store.objects[1].elements.push_back({L"locale", {L""}});
  store.objects[2].elements.push_back({L"description", {L"Cứu hộ – WinPE  "}});
  store.objects.push_back({L"{5189b25c-5558-4bf2-bca4-289b11bd29e2}", L"RAM Defects", {}});

  const std::string bytes = SaveStore(store);
  BcdStore loaded;
  std::wstring error;
  ASSERT_TRUE(LoadStore(bytes, loaded, error)) << zel::WideToUtf8(error);
  EXPECT_EQ(loaded, store);
  EXPECT_EQ(SaveStore(loaded), bytes);
}

TEST(SimStore, CanonicalTextIsAlignedAndRoundTripsByteForByte) {
  const std::string text =
      "zq-sim-bcd-store 1\n"
      "# note\n"
      "current {11111111-2222-4333-8444-555555555555}\n"
      "\n"
      "object {9dea862c-5cdd-4e70-acc1-f32b344d4795} Windows Boot Manager\n"
      "displayorder            {11111111-2222-4333-8444-555555555555}\n"
      "                        {aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}\n"
      "allowedinmemorysettings 0x15000075\n"
      "averyveryverylongelementname x\n"
      "description\n";
  BcdStore store;
  std::wstring error;
  ASSERT_TRUE(LoadStore(text, store, error)) << zel::WideToUtf8(error);
  ASSERT_EQ(store.objects.size(), 1u);
  EXPECT_EQ(store.comments, Args{L" note"});
  EXPECT_EQ(store.objects[0].Find(L"DisplayOrder")->values.size(), 2u);
  EXPECT_EQ(store.objects[0].FirstValue(L"description"), L"");
  EXPECT_EQ(SaveStore(store), text);
}

TEST(SimStore, LoadToleratesEditorHabits) {
  // CR LF, a byte order mark, extra blank lines, upper-case GUIDs, ragged columns.
  const std::string edited =
      "\xEF\xBB\xBFzq-sim-bcd-store 1\r\n"
      "\r\n\r\n"
      "object {9DEA862C-5CDD-4E70-ACC1-F32B344D4795}   Windows Boot Manager\r\n"
      "timeout\t30\r\n"
      "displayorder {11111111-2222-4333-8444-555555555555}\r\n"
      "\t{aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}\r\n";
  BcdStore store;
  std::wstring error;
  ASSERT_TRUE(LoadStore(edited, store, error)) << zel::WideToUtf8(error);
  ASSERT_EQ(store.objects.size(), 1u);
  EXPECT_EQ(store.objects[0].id, kBootManagerId);
  EXPECT_EQ(store.objects[0].title, L"Windows Boot Manager");
  EXPECT_EQ(store.objects[0].FirstValue(L"timeout"), L"30");
  EXPECT_EQ(store.objects[0].Find(L"displayorder")->values, (Args{kLoader, kWinPe}));
}

TEST(SimStore, LoadRejectsMalformedTextAndKeepsTheStore) {
  const std::string head = "zq-sim-bcd-store 1\n";
  const std::string object = "object {9dea862c-5cdd-4e70-acc1-f32b344d4795} Windows Boot Manager\n";
  const std::vector<std::string> bad = {
      "",
      "regf\x01\x02 binary hive\n",
      head + "timeout 30\n",                                         // element outside an object
      head + "object {9dea862c-5cdd-4e70-acc1-f32b344d4795}\n",       // no title
      head + "object {bootmgr} Windows Boot Manager\n",               // alias, not a GUID
      head + object + object,                                        // same object twice
      head + object + "timeout 30\ntimeout 10\n",                    // same element twice
      head + object + "displayorder {11111111-2222-4333-8444-555555555555}\n"
                      "\n    {aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}\n",  // a list ends at a blank line
      head + object + "# late comment\n",
      head + "current {current}\n",
  };
  for (const auto& text : bad) {
    BcdStore store = SmallStore();
    std::wstring error;
    EXPECT_FALSE(LoadStore(text, store, error)) << text;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(store, SmallStore()) << text;
  }
}

TEST(SimIdentifiers, AliasesAndGuidsResolveWithoutCase) {
  BcdStore store = SmallStore();
  EXPECT_EQ(ResolveIdentifier(store, L"{BOOTMGR}", false).id, kBootManagerId);
  EXPECT_EQ(ResolveIdentifier(store, L"{Default}", false).id, kLoader);
  EXPECT_EQ(ResolveIdentifier(store, L"{AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE}", false).id, kWinPe);
  EXPECT_EQ(ResolveIdentifier(store, L"{current}", true).id, kLoader);
  EXPECT_EQ(ResolveIdentifier(store, L"{current}", false).lookup, Lookup::kNotFound);
  EXPECT_EQ(ResolveIdentifier(store, L"{memdiag}", true).lookup, Lookup::kNotFound);  // known, absent
  EXPECT_EQ(ResolveIdentifier(store, L"{nosuchalias}", true).lookup, Lookup::kInvalid);
  EXPECT_EQ(ResolveIdentifier(store, L"11111111-2222-4333-8444-555555555555", true).lookup,
            Lookup::kInvalid);
  EXPECT_EQ(WellKnownGuid(L"{RamDiskOptions}"), L"{ae5534e0-a924-466c-b836-758539a3ee3a}");
  EXPECT_EQ(WellKnownAlias(L"{7ff607e0-4395-11db-b0de-0800200c9a66}"), L"{hypervisorsettings}");

  store.objects[0].elements[1].values = {L"{default}"};  // not a GUID: no default
  EXPECT_EQ(ResolveIdentifier(store, L"{default}", true).lookup, Lookup::kNotFound);
}

TEST_F(SimBcdedit, EnumDefaultPrintsTheVerboseLayout) {
  const Outcome outcome = Run(L"/enum {default} /v");
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.output,
            L"\r\n"
            L"Windows Boot Loader\r\n"
            L"-------------------\r\n"
            L"identifier              {11111111-2222-4333-8444-555555555555}\r\n"
            L"path                    \\Windows\\system32\\winload.efi\r\n"
            L"description             Windows 11\r\n");
}

TEST_F(SimBcdedit, EnumAllListsEveryObjectInStoreOrder) {
  BcdStore store = SmallStore();
  store.objects[1].elements.push_back({L"averyveryverylongelementname", {L"x"}});
  files_[L"sys"] = SaveStore(store);

  const Outcome outcome = Run(L"/ENUM ALL /V");
  ASSERT_EQ(outcome.exitCode, 0);
  const std::wstring& text = outcome.output;
  // Every line ends in CR LF; no bare LF anywhere.
  for (size_t i = text.find(L'\n'); i != std::wstring::npos; i = text.find(L'\n', i + 1)) {
    ASSERT_GT(i, 0u);
    EXPECT_EQ(text[i - 1], L'\r') << "at " << i;
  }
  EXPECT_NE(text.find(L"displayorder            {11111111-2222-4333-8444-555555555555}\r\n"
                      L"                        {aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}\r\n"
                      L"timeout                 30\r\n"
                      L"\r\n"
                      L"Windows Boot Loader\r\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(L"\r\naveryveryverylongelementname x\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"\r\ndevice                  ramdisk=[D:]\\sources\\boot.wim,"
                      L"{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}\r\n"),
            std::wstring::npos);

  size_t previous = 0;
  for (const auto& object : store.objects) {
    const size_t at = text.find(L"identifier              " + object.id + L"\r\n");
    ASSERT_NE(at, std::wstring::npos) << zel::WideToUtf8(object.id);
    EXPECT_GT(at, previous);
    previous = at;
  }
  EXPECT_TRUE(text.ends_with(L"ramdisksdipath          \\boot\\boot.sdi\r\n"));
}

TEST_F(SimBcdedit, EnumCurrentAndAnIdentifierPrintOneObject) {
  const Outcome current = Run(L"/enum {current} /v");
  EXPECT_EQ(current.exitCode, 0);
  EXPECT_EQ(zel::FirstGuid(current.output), kLoader);

  const Outcome byGuid = Run(L"/enum {AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE} /v");
  EXPECT_EQ(byGuid.exitCode, 0);
  EXPECT_TRUE(byGuid.output.starts_with(L"\r\nWindows Boot Loader\r\n-------------------\r\n"
                                        L"identifier              " + kWinPe + L"\r\n"));
  EXPECT_EQ(byGuid.output.find(L"Windows Boot Manager"), std::wstring::npos);
}

TEST_F(SimBcdedit, WithoutVerboseWellKnownObjectsShowAliases) {
  const Outcome outcome = Run(L"/enum");  // active: boot manager, then the menu's entries
  ASSERT_EQ(outcome.exitCode, 0);
  EXPECT_TRUE(outcome.output.starts_with(L"\r\nWindows Boot Manager\r\n--------------------\r\n"
                                         L"identifier              {bootmgr}\r\n"));
  EXPECT_NE(outcome.output.find(L"default                 {current}\r\n"), std::wstring::npos);
  EXPECT_NE(outcome.output.find(L"identifier              {current}\r\n"), std::wstring::npos);
  EXPECT_EQ(outcome.output.find(L"Device options"), std::wstring::npos);
}

TEST_F(SimBcdedit, StoreFileNeverHasACurrentEntry) {
  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  const Outcome offline = Run(L"/store \"D:\\copy\\BCD\" /enum {current} /v");
  EXPECT_EQ(offline.exitCode, 1);
  EXPECT_EQ(zel::FirstGuid(offline.output), L"");
  EXPECT_NE(offline.output.find(L"not found"), std::wstring::npos);

  // Without /v the running loader of the system is just the default here.
  const Outcome shortForm = Run(L"/store \"D:\\copy\\BCD\" /enum {default}");
  EXPECT_NE(shortForm.output.find(L"identifier              {default}\r\n"), std::wstring::npos);
  EXPECT_EQ(shortForm.output.find(L"{current}"), std::wstring::npos);

  const Outcome listed = Run(L"/store \"D:\\copy\\BCD\" /enum all /v");
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(listed.output, Run(L"/enum all /v").output);
}

TEST_F(SimBcdedit, FailuresPrintOnlyAMessageAndExitWithOne) {
  const Outcome missing = Run(L"/store \"C:\\nowhere\\BCD\" /enum all /v");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.output,
            L"The boot configuration data store could not be opened.\r\n"
            L"The system cannot find the file specified.\r\n");

  files_[L"sys"] = "not a store\n";
  const Outcome corrupt = Run(L"/enum all /v");
  EXPECT_EQ(corrupt.exitCode, 1);
  EXPECT_NE(corrupt.output.find(L"could not be opened"), std::wstring::npos);
  files_[L"sys"] = SaveStore(SmallStore());

  const Outcome unknown = Run(L"/enum {99999999-2222-4333-8444-555555555555} /v");
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.output.find(L"not found"), std::wstring::npos);

  for (const wchar_t* bad : {L"/enum {nonsense} /v", L"/enum all {default} /v", L"/enum all /x",
                             L"/frobnicate", L"/store", L"/store \"\" /enum"}) {
    const Outcome outcome = Run(bad);
    EXPECT_EQ(outcome.exitCode, 1) << zel::WideToUtf8(bad);
    EXPECT_NE(outcome.output.find(L"The parameter is incorrect."), std::wstring::npos)
        << zel::WideToUtf8(bad);
    EXPECT_EQ(zel::FirstGuid(outcome.output), L"");
  }
  EXPECT_EQ(files_[L"sys"], SaveStore(SmallStore()));  // reading never writes
}

TEST_F(SimBcdedit, EmptyStoreEnumeratesToNoObjects) {
  files_[L"sys"] = SaveStore(BcdStore{});
  const Outcome all = Run(L"/enum all /v");
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(zel::FirstGuid(all.output), L"");
  EXPECT_EQ(Run(L"/enum {default} /v").exitCode, 1);
}

const std::wstring kMissing = L"{99999999-2222-4333-8444-555555555555}";

TEST_F(SimBcdedit, SetWritesValuesAsTheToolPrintsThem) {
  Ok(L"/set " + kWinPe + L" description \"Rescue PE  (x64)\"");
  EXPECT_TRUE(Lists(kWinPe, L"description", L"Rescue PE  (x64)"));
  Ok(L"/SET {BootMgr} DisplayBootMenu on");
  EXPECT_TRUE(Lists(kBootManagerId.data(), L"displaybootmenu", L"Yes"));
  Ok(L"/set {default} bootmenupolicy legacy");
  EXPECT_TRUE(Lists(kLoader, L"bootmenupolicy", L"Legacy"));
  Ok(L"/set " + kOptions + L" ramdisksdidevice partition=e:");
  EXPECT_TRUE(Lists(kOptions, L"ramdisksdidevice", L"partition=E:"));
  Ok(L"/set " + kWinPe +
     L" osdevice \"ramdisk=[d:]\\my images\\boot.wim,{0D2E4F61-7A8B-4C9D-A0B1-C2D3E4F5A6B7}\"");
  EXPECT_TRUE(Lists(kWinPe, L"osdevice", L"ramdisk=[D:]\\my images\\boot.wim," + kOptions));

  // Replacing keeps one element in its place; a new one goes where the tool lists it.
  Ok(L"/set " + kWinPe + L" winpe 0");
  Ok(L"/set " + kLoader + L" device boot");
  const BcdStore store = Stored();
  const BcdObject& winPe = *store.FindObject(kWinPe);
  Args names;
  for (const auto& element : winPe.elements) names.push_back(element.name);
  EXPECT_EQ(names, (Args{L"device", L"description", L"osdevice", L"winpe"}));
  EXPECT_EQ(winPe.FirstValue(L"winpe"), L"No");
  EXPECT_EQ(store.FindObject(kLoader)->elements.front(), (BcdElement{L"device", {L"boot"}}));

  // Lists resolve aliases and name each object once; no identifier means {current}.
  Ok(L"/set {bootmgr} displayorder " + kWinPe + L" {default} " + kWinPe);
  EXPECT_EQ(Values(kBootManagerId.data(), L"displayorder"), (Args{kWinPe, kLoader}));
  Ok(L"/set description \"Running\"");
  EXPECT_TRUE(Lists(L"{current}", L"description", L"Running"));
  // A new store has no {bootloadersettings}, yet a loader may inherit from it.
  Ok(L"/set " + kLoader + L" inherit {bootloadersettings}");
  EXPECT_EQ(Values(kLoader, L"inherit"), Args{L"{6efb52bf-1766-41db-a6b3-0ee5eff72bd7}"});
}

TEST_F(SimBcdedit, SetRefusesBadInputAndChangesNothing) {
  files_[L"D:\\copy\\BCD"] = files_[L"sys"];
  const std::wstring ramdisk = L" device ramdisk=[D:]\\sources\\boot.wim";
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"/set " + kMissing + L" description x", L"not found"},
      {L"/set {nonsense} description x", L"identifier specified is not valid"},
      {L"/store \"D:\\copy\\BCD\" /set description x", L"not found"},  // an offline store has no {current}
      {L"/set " + kLoader + L" frobnicate 1", L"Element not found."},
      {L"/set {bootmgr} winpe yes", L"does not apply"},
      {L"/set " + kLoader + L" ramdisksdipath \\boot.sdi", L"does not apply"},
      {L"/set {bootmgr} displaybootmenu maybe", L"boolean"},
      {L"/set " + kLoader + L" bootmenupolicy Fancy", L"not valid for this element"},
      {L"/set {bootmgr} timeout 3O", L"integer"},
      {L"/set {bootmgr} timeout -1", L"integer"},
      {L"/set " + kLoader + L" device C:", L"device"},
      {L"/set " + kLoader + L" device partition=CD:", L"device"},
      {L"/set " + kWinPe + ramdisk, L"device"},                      // no options object
      {L"/set " + kWinPe + ramdisk + L"," + kMissing, L"not found"},
      {L"/set " + kWinPe + ramdisk + L"," + kLoader, L"device"},     // not device options
      {L"/set " + kWinPe + L" device ramdisk=D:\\boot.wim," + kOptions, L"device"},
      {L"/set " + kLoader + L" description Windows 11 Pro", L"set command"},  // unquoted blanks
      {L"/set " + kLoader + L" description", L"set command"},
      {L"/set {bootmgr} displayorder " + kLoader + L" " + kMissing, L"not found"},
      {L"/set {bootmgr} default " + kMissing, L"not found"},
  };
  for (const auto& [command, part] : cases) Refused(command, part);
}

TEST_F(SimBcdedit, QuotedDescriptionsFollowTheCRuntime) {
  Ok(L"/set " + kLoader + L" description \"Windows 11 (D:)\\\\\"");
  EXPECT_TRUE(Lists(kLoader, L"description", L"Windows 11 (D:)\\"));
  // A lone backslash before the closing quote escapes it: the quote and the
  // rest of the line become part of the name, as on Windows.
  Ok(L"/set " + kLoader + L" description \"Tools\\\" x");
  EXPECT_TRUE(Lists(kLoader, L"description", L"Tools\" x"));
}

TEST_F(SimBcdedit, DeleteRemovesEveryReferenceUnlessToldNot) {
  const std::wstring resume = L"{44e32b4a-5b47-4c4f-a090-e9d8bbdf1ae4}";
  BcdStore store = SmallStore();
  store.objects[0].elements.push_back({L"bootsequence", {kWinPe}});
  store.objects[0].elements.push_back({L"resumeobject", {resume}});
  store.objects[1].elements.push_back({L"resumeobject", {resume}});
  store.objects.push_back({resume, L"Resume from Hibernate", {{L"description", {L"Resume"}}}});
  files_[L"sys"] = SaveStore(store);
  const std::string original = files_[L"sys"];

  Ok(L"/delete " + kWinPe + L" /nocleanup");
  EXPECT_EQ(Values(kBootManagerId.data(), L"displayorder"), (Args{kLoader, kWinPe}));
  EXPECT_EQ(Run(L"/enum " + kWinPe + L" /v").exitCode, 1);

  files_[L"sys"] = original;
  Ok(L"/delete " + kWinPe + L" /cleanup");
  EXPECT_EQ(Values(kBootManagerId.data(), L"displayorder"), Args{kLoader});
  EXPECT_EQ(Values(kBootManagerId.data(), L"bootsequence"), Args{});
  EXPECT_NE(Stored().FindObject(kOptions), nullptr);  // the options object is the caller's business

  // Without a switch the tool cleans up too; the loader's own resume object goes with it.
  Ok(L"/delete {default}");
  EXPECT_EQ(Run(L"/enum {default} /v").exitCode, 1);
  const BcdStore after = Stored();
  EXPECT_EQ(after.FindObject(resume), nullptr);
  EXPECT_EQ(after.objects[0].Find(L"displayorder"), nullptr);
  EXPECT_EQ(after.objects[0].Find(L"resumeobject"), nullptr);
  EXPECT_EQ(after.objects[0].Find(L"default"), nullptr);

  // A resume object that another loader still uses stays.
  store.objects[2].elements.push_back({L"resumeobject", {resume}});
  files_[L"sys"] = SaveStore(store);
  Ok(L"/delete " + kLoader);
  EXPECT_NE(Stored().FindObject(resume), nullptr);
  EXPECT_EQ(Values(kBootManagerId.data(), L"resumeobject"), Args{resume});
}

TEST_F(SimBcdedit, DeleteNeedsForceForWellKnownObjects) {
  Refused(L"/delete {bootmgr}", L"/f");
  Refused(L"/delete {bootmgr} /cleanup", L"/f");
  Refused(L"/delete {ramdiskoptions} /f", L"not found");
  Refused(L"/delete " + kMissing + L" /cleanup /f", L"not found");
  Refused(L"/delete", L"options specified");
  Refused(L"/delete " + kWinPe + L" " + kLoader, L"options specified");
  Refused(L"/delete " + kWinPe + L" /cleanup /nocleanup", L"options specified");
  Refused(L"/delete " + kWinPe + L" /x", L"options specified");
  Ok(L"/DELETE {BOOTMGR} /F");
  EXPECT_EQ(Stored().FindObject(kBootManagerId), nullptr);
  Ok(L"/delete " + kOptions + L" /f");  // /f is harmless for any object
  EXPECT_EQ(Stored().objects.size(), 2u);
}

TEST_F(SimBcdedit, DefaultTimeoutAndBootSequence) {
  Ok(L"/default " + kWinPe);
  EXPECT_TRUE(Lists(L"{bootmgr}", L"default", kWinPe));
  EXPECT_EQ(zel::FirstGuid(Run(L"/enum {default} /v").output), kWinPe);
  Ok(L"/timeout 007");
  EXPECT_TRUE(Lists(L"{bootmgr}", L"timeout", L"7"));
  Ok(L"/bootsequence " + kWinPe);
  Ok(L"/bootsequence {current} /addfirst");
  EXPECT_EQ(Values(kBootManagerId.data(), L"bootsequence"), (Args{kLoader, kWinPe}));
  Ok(L"/bootsequence " + kWinPe + L" /remove");
  Ok(L"/bootsequence " + kLoader + L" /remove");
  EXPECT_EQ(Stored().objects[0].Find(L"bootsequence"), nullptr);  // the last value takes the element along

  Refused(L"/default " + kMissing, L"not found");
  Refused(L"/default", L"options specified");
  for (const wchar_t* bad : {L"/timeout x", L"/timeout -5", L"/timeout \"\"",
                             L"/timeout 99999999999999999999"}) {
    Refused(bad, L"integer");
  }
  Refused(L"/timeout 5 6", L"options specified");
  Refused(L"/bootsequence " + kMissing, L"not found");

  files_[L"sys"] = SaveStore(BcdStore{});  // no boot manager to hold the settings
  Refused(L"/timeout 5", L"not found");
}

TEST_F(SimBcdedit, DisplayOrderReplacesOrEditsTheMenu) {
  const std::wstring manager(kBootManagerId);
  Ok(L"/displayorder " + kWinPe + L" " + kLoader + L" " + kWinPe);
  EXPECT_EQ(Values(manager, L"displayorder"), (Args{kWinPe, kLoader}));
  Ok(L"/displayorder " + kOptions + L" /ADDLAST");
  Ok(L"/displayorder {current} /addfirst");  // already listed: it moves
  EXPECT_EQ(Values(manager, L"displayorder"), (Args{kLoader, kWinPe, kOptions}));
  Ok(L"/displayorder " + kMissing + L" /remove");  // a stale identifier may be removed
  Ok(L"/displayorder " + kWinPe + L" /remove");
  EXPECT_EQ(Values(manager, L"displayorder"), (Args{kLoader, kOptions}));

  Refused(L"/displayorder", L"options specified");
  Refused(L"/displayorder " + kWinPe + L" " + kLoader + L" /addlast", L"options specified");
  Refused(L"/displayorder " + kWinPe + L" /addfirst /addlast", L"options specified");
  Refused(L"/displayorder " + kLoader + L" " + kMissing, L"not found");
  Refused(L"/displayorder {nonsense} /addlast", L"not valid");

  Ok(L"/displayorder " + kLoader + L" /remove");
  Ok(L"/displayorder " + kOptions + L" /remove");
  EXPECT_EQ(Stored().objects[0].Find(L"displayorder"), nullptr);
  Ok(L"/toolsdisplayorder " + kWinPe + L" /addlast");
  EXPECT_EQ(Values(manager, L"toolsdisplayorder"), Args{kWinPe});
}

TEST_F(SimBcdedit, CreateMakesObjectsThatEnumerate) {
  const std::wstring loader = Created(L"/create /d \"Rescue PE 2\" /application OSLOADER");
  ASSERT_EQ(loader.size(), 38u);
  EXPECT_EQ(loader[15], L'4');  // a random (version 4) GUID
  EXPECT_EQ(Run(L"/enum " + loader + L" /v").output,
            L"\r\nWindows Boot Loader\r\n-------------------\r\n"
            L"identifier              " + loader + L"\r\n"
            L"description             Rescue PE 2\r\n");
  EXPECT_EQ(Run(L"/enum").output.find(loader), std::wstring::npos);  // not in the menu yet

  const std::wstring options = Created(L"/create /D \"Rescue PE 2 ramdisk options\" /device");
  EXPECT_NE(options, loader);
  EXPECT_TRUE(Run(L"/enum " + options + L" /v")
                  .output.starts_with(L"\r\nDevice options\r\n--------------\r\n"));
  const std::wstring chosen = L"{12345678-9abc-4def-8123-456789abcdef}";
  EXPECT_EQ(Created(L"/create " + zel::ToLower(chosen) + L" /d x /application bootsector"), chosen);
  EXPECT_EQ(Stored().objects.size(), 7u);

  Refused(L"/create {bootmgr} /d \"Windows Boot Manager\"", L"already exists");
  Refused(L"/create " + kLoader + L" /d x /application osloader", L"already exists");
  Refused(L"/create {memdiag} /d x /application osloader", L"options specified");  // fixed type
  Refused(L"/create " + kMissing + L" /d x", L"options specified");                 // no type
  Refused(L"/create /d x", L"options specified");
  Refused(L"/create /application osloader", L"options specified");
  Refused(L"/create /d x /application frob", L"options specified");
  Refused(L"/create /d x /device /application osloader", L"options specified");
  Refused(L"/create {default} /d x /application osloader", L"not valid");
}

TEST_F(SimBcdedit, NewStoreFileIsBuiltFromNothing) {
  const std::wstring file = L"S:\\EFI\\Microsoft\\Boot\\BCD";
  const std::wstring store = L"/store \"" + file + L"\" ";
  Ok(L"/createstore \"" + file + L"\"");
  EXPECT_EQ(files_[file], "zq-sim-bcd-store 1\n");
  EXPECT_EQ(Run(store + L"/enum all /v").output, L"There are no matching objects or the store is empty.\r\n");
  Refused(L"/createstore \"" + file + L"\"", L"file exists");
  Refused(store + L"/createstore \"D:\\other\"", L"options specified");
  Refused(L"/createstore", L"options specified");

  EXPECT_EQ(Created(store + L"/create {bootmgr} /d \"Windows Boot Manager\""), kBootManagerId);
  Ok(store + L"/set {bootmgr} device partition=S:");
  Ok(store + L"/set {bootmgr} path \\EFI\\Microsoft\\Boot\\bootmgfw.efi");
  Ok(store + L"/timeout 10");
  const std::wstring entry = Created(store + L"/create /d \"Windows (D:)\" /application osloader");
  for (const wchar_t* setting : {L"device partition=D:", L"osdevice partition=D:",
                                 L"path \\Windows\\system32\\winload.efi", L"systemroot \\Windows",
                                 L"inherit {bootloadersettings}", L"bootmenupolicy Standard"}) {
    Ok(store + L"/set " + entry + L" " + setting);
  }
  Ok(store + L"/displayorder " + entry + L" /addlast");
  Ok(store + L"/default " + entry);
  Ok(store + L"/set {bootmgr} displaybootmenu yes");
  EXPECT_EQ(files_[L"sys"], SaveStore(SmallStore()));  // the system store was never touched

  zel::BcdSnapshot snapshot;
  zel::ParseListing(Run(store + L"/enum all /v").output, snapshot);
  EXPECT_EQ(snapshot.timeoutSeconds, 10);
  EXPECT_TRUE(snapshot.displayBootMenu);
  ASSERT_EQ(snapshot.entries.size(), 1u);
  EXPECT_EQ(snapshot.entries[0].identifier, entry);
  EXPECT_EQ(snapshot.entries[0].description, L"Windows (D:)");
  EXPECT_EQ(snapshot.entries[0].osDevice, L"partition=D:");
  EXPECT_TRUE(snapshot.entries[0].isDefault && snapshot.entries[0].inDisplayOrder);
}

// The WinPE creation sequence of our program, then its rollback.
TEST_F(SimBcdedit, WinPeEntryReadsBackAndRollsBackCleanly) {
  const std::string original = files_[L"sys"];
  const std::wstring options = Created(L"/create /d \"My PE ramdisk options\" /device");
  Ok(L"/set " + options + L" ramdisksdidevice partition=D:");
  Ok(L"/set " + options + L" ramdisksdipath \"\\Boot\\boot.sdi\"");
  const std::wstring entry = Created(L"/create /d \"My PE\" /application osloader");
  const std::wstring ramdisk = L"\"ramdisk=[D:]\\sources\\boot.wim," + options + L"\"";
  const Args settings = {L"device " + ramdisk, L"osdevice " + ramdisk,
                         L"path \\windows\\system32\\boot\\winload.efi", L"systemroot \\windows",
                         L"winpe yes", L"detecthal yes", L"bootmenupolicy Legacy"};
  for (const auto& setting : settings) Ok(L"/set " + entry + L" " + setting);
  Ok(L"/displayorder " + entry + L" /addfirst");
  Ok(L"/default " + entry);
  Ok(L"/bootsequence " + entry);
  Ok(L"/set {bootmgr} displaybootmenu yes");

  zel::BcdSnapshot snapshot;
  zel::ParseListing(Run(L"/enum all /v").output, snapshot);
  ASSERT_FALSE(snapshot.entries.empty());
  const zel::BootEntry& pe = snapshot.entries[0];
  EXPECT_EQ(pe.identifier, entry);
  EXPECT_EQ(pe.device, L"ramdisk=[D:]\\sources\\boot.wim," + options);
  EXPECT_EQ(pe.bootMenuPolicy, L"Legacy");
  EXPECT_TRUE(pe.isWinPe && pe.isDefault && pe.isBootSequence && pe.inDisplayOrder);
  EXPECT_TRUE(Lists(options, L"ramdisksdipath", L"\\Boot\\boot.sdi"));

  // Rolling back a half-made entry (before /default) gives the store back byte for byte.
  files_[L"sys"] = original;
  const std::wstring options2 = Created(L"/create /d \"x ramdisk options\" /device");
  const std::wstring entry2 = Created(L"/create /d x /application osloader");
  Ok(L"/set " + entry2 + L" device \"ramdisk=[D:]\\boot.wim," + options2 + L"\"");
  Ok(L"/displayorder " + entry2 + L" /addlast");
  Ok(L"/delete " + entry2 + L" /cleanup /f");
  Ok(L"/delete " + options2 + L" /f");
  EXPECT_EQ(files_[L"sys"], original);
}

TEST_F(SimBcdedit, ExportAndImportRoundTrip) {
  const std::wstring backup = L"C:\\Backups\\BCD_System_20240101.bcd";
  const std::string original = files_[L"sys"];
  Ok(L"/export \"" + backup + L"\"");
  EXPECT_EQ(files_[backup], original);
  Ok(L"/set {current} description \"Changed\"");
  Ok(L"/delete " + kWinPe);
  Ok(L"/import \"" + backup + L"\"");
  EXPECT_EQ(files_[L"sys"], original);

  // The running loader is the machine's, not the file's.
  BcdStore other = SmallStore();
  other.currentId.clear();
  other.objects.pop_back();
  files_[L"other.bcd"] = SaveStore(other);
  Ok(L"/import other.bcd");
  EXPECT_EQ(Stored().currentId, kLoader);
  EXPECT_EQ(Stored().objects, other.objects);

  files_[L"bad.bcd"] = "regf binary hive";
  Refused(L"/import \"C:\\missing.bcd\"", L"cannot find the file");
  Refused(L"/import bad.bcd", L"corrupt");
  Refused(L"/store sys /export x.bcd", L"options specified");
  Refused(L"/store sys /import other.bcd", L"options specified");
  Refused(L"/export", L"options specified");
  Refused(L"/import other.bcd /clean", L"options specified");
  writable_ = false;
  Refused(L"/export \"Z:\\nowhere\\x.bcd\"", L"export operation has failed");
}

TEST_F(SimBcdedit, AFailedSaveChangesNothingAndPrintsNoGuid) {
  writable_ = false;
  const Outcome created = Run(L"/create /d x /application osloader");
  EXPECT_EQ(created.exitCode, 1);
  EXPECT_EQ(zel::FirstGuid(created.output), L"");
  EXPECT_NE(created.output.find(L"write the boot configuration data store"), std::wstring::npos);
  Refused(L"/timeout 3", L"write the boot configuration data store");
  Refused(L"/createstore new.bcd", L"store creation operation has failed");
}

#ifdef ZQ_SIM_STORES_DIR
std::string ReadSample(const char* name) {
  std::ifstream in(std::string(ZQ_SIM_STORES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every GUID that a sample refers to names an object of the same sample.
void ExpectReferencesResolve(const BcdStore& store, const char* name) {
  for (const auto& object : store.objects) {
    for (const auto& element : object.elements) {
      for (const auto& value : element.values) {
        const std::wstring lower = zel::ToLower(value);
        std::wstring guid;
        for (size_t at = 0; zel::ExtractGuid(lower, at, guid); at = lower.find(guid, at) + 1) {
          EXPECT_NE(store.FindObject(guid), nullptr) << name << ": " << zel::WideToUtf8(value);
        }
      }
    }
  }
}

TEST(SimSamples, AreCanonicalAndConsistent) {
  for (const char* name : {"uefi-win11.txt", "bios-legacy.txt", "hidden-entries.txt", "empty.txt"}) {
    const std::string bytes = ReadSample(name);
    BcdStore store;
    std::wstring error;
    ASSERT_TRUE(LoadStore(bytes, store, error)) << name << ": " << zel::WideToUtf8(error);
    EXPECT_EQ(SaveStore(store), bytes) << name << " is not in canonical form";
    ASSERT_NE(store.FindObject(kBootManagerId), nullptr) << name;
    ExpectReferencesResolve(store, name);
    if (!store.currentId.empty()) {
      ASSERT_NE(store.FindObject(store.currentId), nullptr) << name;
      EXPECT_TRUE(store.FindObject(store.currentId)->FirstValue(L"path").ends_with(L"winload.efi") ||
                  store.FindObject(store.currentId)->FirstValue(L"path").ends_with(L"winload.exe"))
          << name;
    }
  }
}

// The simulator's listing of a sample, read by the program's own parser.
TEST(SimSamples, ListingReadsBackThroughTheParser) {
  std::map<std::wstring, std::string> files{{L"sys", ReadSample("hidden-entries.txt")}};
  StoreFiles access;
  access.systemStorePath = L"sys";
  access.read = [&files](const std::wstring& path, std::string& bytes) {
    bytes = files[path];
    return true;
  };
  zel::BcdSnapshot snapshot;
  snapshot.currentId = zel::FirstGuid(ExecuteBcdedit({L"/enum", L"{current}", L"/v"}, access).output);
  zel::ParseListing(ExecuteBcdedit({L"/enum", L"all", L"/v"}, access).output, snapshot);

  EXPECT_EQ(snapshot.timeoutSeconds, 5);
  EXPECT_EQ(snapshot.displayOrder.size(), 2u);
  EXPECT_EQ(snapshot.bootSequenceId, L"{15adaacc-8187-4ddb-b599-f95e2d72e145}");
  std::vector<std::wstring> order;
  for (const auto& entry : snapshot.entries) {
    order.push_back(entry.description + (entry.inDisplayOrder ? L"" : L" (hidden)"));
  }
  EXPECT_EQ(order, (Args{L"Windows 10", L"Rescue PE", L"Windows 10 (previous install) (hidden)",
                         L"Setup PE (hidden)"}));
  ASSERT_EQ(snapshot.entries.size(), 4u);
  EXPECT_TRUE(snapshot.entries[0].isDefault && snapshot.entries[0].isCurrent);
  EXPECT_TRUE(snapshot.entries[1].isWinPe);
  EXPECT_TRUE(snapshot.entries[3].isBootSequence);
}
#endif

}  // namespace
}  // namespace sim
