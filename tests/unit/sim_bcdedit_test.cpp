// The simulated bcdedit: argument splitting, the store file, the /enum listing
// and its failures, and that the listing reads back through the real parser.
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
class Bcdedit : public ::testing::Test {
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
      files_[path] = std::string(bytes);
      return true;
    };
    return ExecuteBcdedit(SplitArguments(argumentText), files);
  }

  std::map<std::wstring, std::string> files_;
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

TEST_F(Bcdedit, EnumDefaultPrintsTheVerboseLayout) {
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

TEST_F(Bcdedit, EnumAllListsEveryObjectInStoreOrder) {
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

TEST_F(Bcdedit, EnumCurrentAndAnIdentifierPrintOneObject) {
  const Outcome current = Run(L"/enum {current} /v");
  EXPECT_EQ(current.exitCode, 0);
  EXPECT_EQ(zel::FirstGuid(current.output), kLoader);

  const Outcome byGuid = Run(L"/enum {AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE} /v");
  EXPECT_EQ(byGuid.exitCode, 0);
  EXPECT_TRUE(byGuid.output.starts_with(L"\r\nWindows Boot Loader\r\n-------------------\r\n"
                                        L"identifier              " + kWinPe + L"\r\n"));
  EXPECT_EQ(byGuid.output.find(L"Windows Boot Manager"), std::wstring::npos);
}

TEST_F(Bcdedit, WithoutVerboseWellKnownObjectsShowAliases) {
  const Outcome outcome = Run(L"/enum");  // active: boot manager, then the menu's entries
  ASSERT_EQ(outcome.exitCode, 0);
  EXPECT_TRUE(outcome.output.starts_with(L"\r\nWindows Boot Manager\r\n--------------------\r\n"
                                         L"identifier              {bootmgr}\r\n"));
  EXPECT_NE(outcome.output.find(L"default                 {current}\r\n"), std::wstring::npos);
  EXPECT_NE(outcome.output.find(L"identifier              {current}\r\n"), std::wstring::npos);
  EXPECT_EQ(outcome.output.find(L"Device options"), std::wstring::npos);
}

TEST_F(Bcdedit, StoreFileNeverHasACurrentEntry) {
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

TEST_F(Bcdedit, FailuresPrintOnlyAMessageAndExitWithOne) {
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

TEST_F(Bcdedit, EmptyStoreEnumeratesToNoObjects) {
  files_[L"sys"] = SaveStore(BcdStore{});
  const Outcome all = Run(L"/enum all /v");
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(zel::FirstGuid(all.output), L"");
  EXPECT_EQ(Run(L"/enum {default} /v").exitCode, 1);
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
