#pragma once
// The boot entries list window (class "ZelQuillonPE.Entries"): a scrollable
// column of entry cards with their badges and action buttons. It owns only its
// layout, scroll and pointer state; the snapshot, the selection and what the
// buttons do belong to the application, which it reaches through EntriesHost.
#include <windows.h>

#include <functional>
#include <string>

#include "core/bcd_model.h"
#include "ui/views/entries_layout.h"

namespace ui {

inline constexpr wchar_t kEntriesClassName[] = L"ZelQuillonPE.Entries";

// The application's side of the list. The pointed-to state is the application's
// own and must outlive the window; it is read at every layout and paint.
struct EntriesHost {
  const zel::BcdSnapshot* snapshot = nullptr;  // null: nothing loaded yet (header only)
  const std::wstring* loadError = nullptr;     // the words for a failed load
  std::wstring* selectedEntryId = nullptr;     // read and written by the list (click, arrow keys)
  const bool* busy = nullptr;                  // while true, clicks on cards do nothing
  // A card button released over itself, or CardAction::Rename for a double click
  // on a card's free area. The selection already names the card's entry.
  std::function<void(CardAction)> onAction;
  std::function<void()> onSelectionChanged;  // optional: the list changed the selection
};

// At start-up, after InitUi; a second call finds the class there and succeeds.
bool RegisterEntriesClass(HINSTANCE instance);
// A WS_CHILD | WS_VISIBLE | WS_TABSTOP list window; the window owns its state.
HWND CreateEntriesList(HWND parent, int id);
// Connects the list to the application and lays it out.
void SetEntriesHost(HWND list, const EntriesHost& host);

// Rebuilds the cards for the current snapshot, language, DPI and size: after a
// reload, a language or DPI switch (WM_SIZE does it by itself). Repaints.
void LayoutEntries(HWND list);
// Scrolls the entry's card into view (after a reload, for the selection).
void EnsureVisible(HWND list, const std::wstring& id);

// The list's state, for tests and tools that look inside; null for other windows.
const EntriesState* EntriesStateOf(HWND list);

}  // namespace ui
