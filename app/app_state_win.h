#pragma once
// Everything the application holds, owned by the UI thread. Workers never see
// it: they get copies of what they need and hand back one result.
#include <windows.h>

#include <string>
#include <vector>

#include "core/bcd_model.h"
#include "ui/views/main_view_win.h"

namespace app {

constexpr UINT WM_JOB_DONE = WM_APP + 1;
constexpr UINT_PTR kBusyTimer = 1;

struct AppState {
  ui::MainView view;        // the main window's children and layout
  ui::MainViewState shown;  // what the main window paints: selected store, labels, status, busy bar;
                            // its busy flag is the application's one (IsBusy)
  std::wstring loadedStorePath;  // where the current snapshot came from
  zel::BcdSnapshot snapshot;
  std::wstring loadError;  // the snapshot's fault in the user's words, for the list
  std::vector<std::wstring> storeFiles;
  std::wstring selectedEntryId;
  // This session's last change: the store it was made to, the backup taken just before it,
  // and what it was. Empty until a change has been backed up.
  struct LastChange {
    std::wstring store;
    std::wstring backup;
    std::wstring description;
  } lastChange;
};

AppState& State();
// True while a background job runs: commands are dropped, the window does not close.
inline bool IsBusy() { return State().shown.busy; }

}  // namespace app
