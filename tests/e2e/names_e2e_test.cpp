// Names outside the console's code page: bcdedit prints them with "?", and the
// program must neither show nor write back that loss.
#include <windows.h>

#include <gtest/gtest.h>


#include "core/utf8.h"
#include "tests/e2e/started_app.h"
#include "tests/support/files.h"
#include "tests/support/sample_store.h"
#include "ui/views/main_texts.h"

namespace zel::test {
namespace {

constexpr int kNameBox = 200;
const std::wstring& kWin11 = kSampleWin11;

struct RenameForm {
  HWND dialog = nullptr;
  std::wstring name;         // the text box's starting value
  std::wstring description;  // what the form says above it
};

// WM_GETTEXT, which the system carries across processes; GetWindowText would not ask the edit box.
std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
  return text;
}

RenameForm OpenRenameForm(const AppDriver& app) {
  app.Command(ui::kRenameKeyId);
  RenameForm form;
  form.dialog = app.WaitForDialog();
  if (form.dialog == nullptr) return form;
  form.name = TextOf(GetDlgItem(form.dialog, kNameBox));
  form.description = TextOf(GetDlgItem(form.dialog, 199));
  return form;
}

TEST(NamesEndToEnd, TheSystemStoreKeepsANameOutsideTheCodePage) {
  Started s;
  ASSERT_TRUE(s.ok);
  RenameForm form = OpenRenameForm(*s.app);
  ASSERT_NE(form.dialog, nullptr);
  EXPECT_EQ(form.name, L"Windows 11");
  SetWindowTextW(GetDlgItem(form.dialog, kNameBox), L"  ");  // a blank name: the form stays and nothing runs
  PostMessageW(form.dialog, WM_COMMAND, IDOK, 0);
  Sleep(500);
  ASSERT_TRUE(IsWindowVisible(form.dialog));
  EXPECT_TRUE(s.sim.LogLines().empty());
  SetWindowTextW(GetDlgItem(form.dialog, kNameBox), L"Cứu hộ – \"Tiếng Việt\" ồ\\");
  PostMessageW(form.dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(s.Reloaded());
  // Quotes become apostrophes and a trailing backslash goes: it would escape the closing quote.
  EXPECT_TRUE(Contains(s.sim.LogLines(), L"bcdedit /set " + kWin11 + L" description \"Cứu hộ – 'Tiếng Việt' ồ\""));

  // The reload read the console's "C?u h? ..." but shows the store's own name.
  form = OpenRenameForm(*s.app);
  ASSERT_NE(form.dialog, nullptr);
  EXPECT_EQ(form.name, L"Cứu hộ – 'Tiếng Việt' ồ");
  EXPECT_EQ(form.description.find(L"could not be read exactly"), std::wstring::npos);
  const std::string before = ReadBytes(s.store);
  s.sim.ClearLog();
  s.app->Key(VK_RETURN);  // OK, the name untouched
  ASSERT_TRUE(AppDriver::WaitClosed(form.dialog));
  ASSERT_TRUE(s.Reloaded());
  EXPECT_EQ(ReadBytes(s.store), before);
}

TEST(NamesEndToEnd, AStoreFileThatCannotBeReadExactlyIsNotWrittenBack) {
  Started s;
  ASSERT_TRUE(s.ok);
  // Under Wine a store file cannot be opened as a hive: only the listing's text is there.
  const std::wstring offline = s.sim.CopyStore(L"uefi-win11.txt", L"offline\\BCD");
  std::string bytes = ReadBytes(offline);
  const std::string plain = "description             Windows 11\n";
  ASSERT_NE(bytes.find(plain), std::string::npos);
  bytes.replace(bytes.find(plain), plain.size(), "description             Cứu hộ – Windows 11\n");
  WriteBytes(offline, bytes);

  s.app->Command(ui::kBrowseId);
  ASSERT_TRUE(s.app->ChooseFile(offline));
  ASSERT_TRUE(s.Finished(L"bcdedit /store \"" + offline + L"\" /enum all /v"));
  const RenameForm form = OpenRenameForm(*s.app);
  ASSERT_NE(form.dialog, nullptr);
  EXPECT_EQ(form.name, L"C?u h? - Windows 11");  // the en dash has a look-alike in the code page
  EXPECT_NE(form.description.find(L"The current name could not be read exactly"), std::wstring::npos);
  s.sim.ClearLog();
  PostMessageW(form.dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(AppDriver::WaitClosed(form.dialog));
  ASSERT_TRUE(s.app->Idle());
  Sleep(500);
  EXPECT_TRUE(s.sim.LogLines().empty());
  EXPECT_EQ(ReadBytes(offline), bytes);
}

}  // namespace
}  // namespace zel::test
