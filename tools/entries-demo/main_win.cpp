// entries-demo: the boot entries list on its own, filled from a sample store of
// the simulated bcdedit, so the cards can be looked at (and screenshotted)
// without the application. Clicked actions show in the title bar.
//   entries-demo.exe [--light] [--en] [--store NAME] [--empty | --error]
//                    [--select N] [--hover CARD,BUTTON] [--press CARD,BUTTON] [--scroll PX]
//                    [--size WIDTH,HEIGHT]
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/bcd_parser.h"
#include "core/utf8.h"
#include "sim/bcdedit/listing.h"
#include "sim/bcdedit/store.h"
#include "ui/canvas_win.h"
#include "ui/language.h"
#include "ui/theme_win.h"
#include "ui/views/entries_view_win.h"

namespace {

using namespace ui;

constexpr int kListId = 108;
constexpr UINT_PTR kPointerTimer = 1;

struct Options {
  std::wstring store = L"uefi-win11";
  bool empty = false;
  bool error = false;
  int select = -1;
  int scroll = 0;
  CardHit hover;
  bool press = false;
  int width = 1000;
  int height = 720;
};

Options g_options;
zel::BcdSnapshot g_snapshot;
std::wstring g_selected;
bool g_busy = false;
HWND g_list = nullptr;

// The sample store's verbose listing, as the simulated bcdedit prints it, read
// back by the real parser.
zel::BcdSnapshot LoadSample(const std::wstring& name) {
  zel::BcdSnapshot snapshot;
  const std::string path = std::string(ZQ_SIM_STORES_DIR) + "/" + zel::WideToUtf8(name) + ".txt";
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  sim::BcdStore store;
  std::wstring error;
  if (!file || !sim::LoadStore(bytes.str(), store, error)) {
    snapshot.error = zel::Said(L"Could not read the sample store " + zel::Utf8ToWide(path) + L": " + error);
    return snapshot;
  }
  std::vector<const sim::BcdObject*> objects;
  for (const auto& object : store.objects) objects.push_back(&object);
  sim::ListingStyle style;
  style.currentId = store.currentId;
  snapshot.loaded = true;
  snapshot.currentId = store.currentId;
  zel::ParseListing(sim::FormatListing(objects, style), snapshot);
  return snapshot;
}

void OnAction(HWND window, CardAction action) {
  const wchar_t* const names[] = {L"none", L"show in menu", L"move up", L"move down", L"set default",
                                  L"policy", L"rename", L"boot once", L"delete"};
  SetWindowTextW(window, (L"Entries demo — " + std::wstring(names[static_cast<int>(action)]) + L" " + g_selected).c_str());
}

// Puts the list's pointer state where the options ask, as a mouse would.
void PlacePointer() {
  const EntriesState* state = EntriesStateOf(g_list);
  if (!state || g_options.hover.card < 0 || g_options.hover.card >= static_cast<int>(state->layout.cards.size())) return;
  const EntryCard& card = state->layout.cards[static_cast<size_t>(g_options.hover.card)];
  Rect target = card.cardRect;
  if (g_options.hover.button >= 0 && g_options.hover.button < static_cast<int>(card.buttons.size())) {
    target = card.buttons[static_cast<size_t>(g_options.hover.button)].rect;
  }
  const int x = (target.left + target.right) / 2;
  const int y = (target.top + target.bottom) / 2 - state->scroll.scrollPos;
  SendMessageW(g_list, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  if (g_options.press) SendMessageW(g_list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      g_list = CreateEntriesList(window, kListId);
      EntriesHost host;
      host.snapshot = &g_snapshot;
      host.loadError = &g_snapshot.error.detail;
      host.selectedEntryId = &g_selected;
      host.busy = &g_busy;
      host.onAction = [window](CardAction action) { OnAction(window, action); };
      SetEntriesHost(g_list, host);
      SetTimer(window, kPointerTimer, 1500, nullptr);
      return 0;
    }
    case WM_SIZE: {
      MoveWindow(g_list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      static bool first = true;
      if (first && HIWORD(lParam) > 0) {
        first = false;
        if (g_options.scroll > 0) {
          SendMessageW(g_list, WM_MOUSEWHEEL, MAKEWPARAM(0, -g_options.scroll * 120 / 64), 0);
        } else {
          EnsureVisible(g_list, g_selected);
        }
      }
      return 0;
    }
    case WM_TIMER:
      KillTimer(window, kPointerTimer);
      PlacePointer();
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_list);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

CardHit ParseHit(const std::wstring& text) {
  CardHit hit;
  const size_t comma = text.find(L',');
  hit.card = _wtoi(text.substr(0, comma).c_str());
  hit.button = comma == std::wstring::npos ? -1 : _wtoi(text.substr(comma + 1).c_str());
  return hit;
}

void ReadOptions(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const std::wstring next = i + 1 < argc ? argv[i + 1] : L"";
    if (arg == L"--light") g_darkTheme = false;
    if (arg == L"--en") zel::g_vietnamese = false;
    if (arg == L"--empty") g_options.empty = true;
    if (arg == L"--error") g_options.error = true;
    if (arg == L"--store") g_options.store = next;
    if (arg == L"--select") g_options.select = _wtoi(next.c_str());
    if (arg == L"--scroll") g_options.scroll = _wtoi(next.c_str());
    if (arg == L"--size") {
      const CardHit size = ParseHit(next);
      g_options.width = size.card;
      g_options.height = size.button;
    }
    if (arg == L"--hover" || arg == L"--press") {
      g_options.hover = ParseHit(next);
      g_options.press = arg == L"--press";
    }
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  ReadOptions(__argc, __wargv);
  if (!InitUi(instance) || !RegisterEntriesClass(instance)) return 1;
  if (g_options.empty) {
    g_snapshot.loaded = true;
  } else if (g_options.error) {
    g_snapshot.error = zel::Said(zel::Pick(L"Không thể mở kho BCD.", L"The boot configuration data store could not be opened.\r\n"
                                                                      L"The system cannot find the file specified."));
  } else {
    g_snapshot = LoadSample(g_options.store);
  }
  g_selected = SelectionAfterReload(g_snapshot, L"");
  if (g_options.select >= 0 && g_options.select < static_cast<int>(g_snapshot.entries.size())) {
    g_selected = g_snapshot.entries[static_cast<size_t>(g_options.select)].identifier;
  }

  WNDCLASSEXW cls{sizeof(cls)};
  cls.lpfnWndProc = DemoProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = L"ZelQuillonPE.EntriesDemo";
  RegisterClassExW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, L"Entries demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                ScaleDpi(g_options.width), ScaleDpi(g_options.height), nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ApplyTitleBarStyle(window);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyFonts();
  return static_cast<int>(msg.wParam);
}
