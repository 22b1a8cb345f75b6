// Choosing the store (picker menu, offline file), the raw listing, and the file dialog.
#include <windows.h>
#include <commdlg.h>

#include <memory>
#include <type_traits>

#include "app/actions.h"
#include "app/jobs_win.h"
#include "core/text.h"
#include "ui/controls_win.h"
#include "ui/dialogs_win.h"
#include "ui/language.h"
#include "ui/views/main_texts.h"

namespace app {
namespace {

using zel::Pick;

// Display texts and patterns as the dialog wants them: pairs separated and ended by NULs.
std::wstring FilterText(FileFilter filter) {
  std::wstring first;
  switch (filter) {
    case FileFilter::Wim:
      first = std::wstring(L"Windows Image (*.wim)") + L'\0' + L"*.wim";
      break;
    case FileFilter::BcdBackup:
      first = std::wstring(L"BCD backup (*.bcd)") + L'\0' + L"*.bcd";
      break;
    case FileFilter::BcdStore:
      first = std::wstring(L"BCD store (BCD*;*.bcd)") + L'\0' + L"BCD*;*.bcd";
      break;
    case FileFilter::Zip:
      first = std::wstring(L"ZIP archive (*.zip)") + L'\0' + L"*.zip";
      break;
  }
  return first + L'\0' + Pick(L"Tất cả file (*.*)", L"All files (*.*)") + L'\0' + L"*.*" + L'\0' + L'\0';
}

// The common file dialogs, loaded from the system folder (never from beside the program)
// when first needed: linking them in pulls the shell libraries into every start-up, which
// costs about 100 ms. Once loaded they stay until the process ends, because worker threads
// the shell starts for a dialog may still run code from them while the program exits.
using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

class FileDialogLibrary {
 public:
  FileDialogLibrary() {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    module_ = LoadLibraryW((std::wstring(system) + L"\\comdlg32.dll").c_str());
    if (!module_) return;
    open_ = reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "GetOpenFileNameW")));
    save_ = reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "GetSaveFileNameW")));
  }
  FileDialogLibrary(const FileDialogLibrary&) = delete;
  FileDialogLibrary& operator=(const FileDialogLibrary&) = delete;
  FileDialogFunction Get(bool save) const { return save ? save_ : open_; }

 private:
  HMODULE module_ = nullptr;
  FileDialogFunction open_ = nullptr;
  FileDialogFunction save_ = nullptr;
};

void SelectStore(const std::wstring& path) {
  AppState& state = State();
  state.shown.selectedStorePath = path;
  ui::ApplyStoreSelectorText(state.view, path);
  RefreshBcd();
}

}  // namespace

std::wstring PickFile(bool save, const std::wstring& title, FileFilter filter, const std::wstring& initialName,
                      const std::wstring& defaultExtension) {
  const std::wstring filterText = FilterText(filter);
  std::wstring buffer(32768, L'\0');
  initialName.copy(buffer.data(), std::min(initialName.size(), buffer.size() - 1));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = State().view.window;
  dialog.lpstrFilter = filterText.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const std::wstring extension = defaultExtension.empty() ? L"bcd" : defaultExtension;
  if (save) dialog.lpstrDefExt = extension.c_str();
  static const FileDialogLibrary library;
  const FileDialogFunction show = library.Get(save);
  if (!show) {
    ShowError(Pick(L"Zel Quillon PE — Lỗi", L"Zel Quillon PE — Error"),
              Pick(L"Không mở được hộp thoại chọn file (comdlg32.dll).", L"The file dialog could not be opened (comdlg32.dll)."));
    return {};
  }
  return show(&dialog) ? std::wstring(buffer.c_str()) : std::wstring();
}

void ShowStorePicker() {
  AppState& state = State();
  std::vector<std::wstring> items = {ui::StoreDisplayName(L"")};
  for (const auto& path : state.storeFiles) items.push_back(path);
  const std::wstring& selected = state.shown.selectedStorePath;
  if (!selected.empty() && !zel::ContainsNoCase(state.storeFiles, selected)) items.push_back(selected);
  int current = 0;
  for (size_t i = 1; i < items.size() && !selected.empty(); ++i) {
    if (zel::EqualsNoCase(items[i], selected)) current = static_cast<int>(i);
  }

  // Released on every way out, the menu first: it refers to the brush.
  const std::unique_ptr<std::remove_pointer_t<HBRUSH>, decltype(&DeleteObject)> background(
      CreateSolidBrush(ui::g_darkTheme ? RGB(23, 29, 41) : RGB(255, 255, 255)), &DeleteObject);
  const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(CreatePopupMenu(), &DestroyMenu);
  if (!menu) return;
  for (size_t i = 0; i < items.size(); ++i) AppendMenuW(menu.get(), MF_OWNERDRAW, i + 1, reinterpret_cast<LPCWSTR>(i));
  MENUINFO info{sizeof(info), MIM_BACKGROUND};
  info.hbrBack = background.get();
  SetMenuInfo(menu.get(), &info);
  HWND selector = GetDlgItem(state.view.window, ui::kStoreSelectorId);
  RECT anchor{};
  GetWindowRect(selector, &anchor);
  ui::SetStoreMenuItems(&items, current, anchor.right - anchor.left);
  SetForegroundWindow(state.view.window);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, anchor.left,
                                    anchor.bottom + ui::MulDivRound(2, ui::CurrentDpi(), 96), 0, state.view.window, nullptr);
  ui::SetStoreMenuItems(nullptr, -1, 0);
  if (chosen <= 0 || chosen - 1 == current) return;
  SelectStore(chosen == 1 ? std::wstring() : items[static_cast<size_t>(chosen - 1)]);
}

void BrowseStoreFile() {
  const std::wstring file =
      PickFile(false, Pick(L"Chọn file BCD offline", L"Select an offline BCD file"), FileFilter::BcdStore, L"", L"");
  if (!file.empty()) SelectStore(file);
}

void ShowRawBcd() {
  const std::wstring& raw = State().snapshot.rawText;
  if (raw.empty()) return;
  ui::ShowText(State().view.window,
               Pick(L"Chi tiết toàn bộ BCD (bcdedit /enum all /v)", L"Raw BCDEdit Output (bcdedit /enum all /v)"), raw);
}

}  // namespace app
