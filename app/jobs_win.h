#pragma once
// Background jobs: one at a time, on a detached worker thread, with the result
// carried back to the UI thread by one posted message.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "app/app_state_win.h"
#include "app/job_delivery.h"
#include "core/bcd_model.h"
#include "core/fault.h"
#include "ui/dialogs_win.h"

namespace app {

struct JobResult {
  bool success = false;
  zel::Fault fault;
};

struct ChangeOutcome {
  bool backupSucceeded = false;
  std::wstring backupPath;
  zel::Fault backupFault;
  bool changeSucceeded = false;
  zel::Fault fault;  // why it failed, or a note on a change that succeeded
};

struct RefreshResult {
  std::vector<std::wstring> storeFiles;
  zel::BcdSnapshot snapshot;
};

// A change run on a worker: store path in, true when done; what went wrong (or a note) in `fault`.
using ChangeFunction = std::function<bool(const std::wstring& storePath, zel::Fault& fault)>;

void SetBusy(bool busy, const std::wstring& text);
// Reports a worker that could not be started: leaves the busy state and says so.
void ReportJobStartFailure();

// Set by a worker whose result could not be posted; the busy timer looks at it.
extern std::atomic<bool> g_jobResultLost;
// Busy timer: when a result was lost, leaves the busy state, logs it and returns true.
bool TakeLostJobResult();
// About two seconds of retries for a refused post.
constexpr int kPostAttempts = 40;
constexpr DWORD kPostRetryMs = 50;

// Starts `work` on a worker thread; `done` runs later on the UI thread with its result.
template <typename Result>
void RunInBackground(const std::wstring& busyText, std::function<Result()> work, std::function<void(Result&)> done) {
  SetBusy(true, busyText);
  HWND window = State().view.window;
  try {
    std::thread([window, work = std::move(work), done = std::move(done)]() mutable {
      auto result = std::make_shared<Result>(work());
      DeliverCompletion(
          std::make_unique<Completion>([done = std::move(done), result] { done(*result); }),
          [window](Completion* completion) {
            return PostMessageW(window, WM_JOB_DONE, 0, reinterpret_cast<LPARAM>(completion)) != FALSE;
          },
          kPostAttempts, [] { Sleep(kPostRetryMs); }, g_jobResultLost);
    }).detach();
  } catch (const std::system_error&) {
    ReportJobStartFailure();
  }
}

// WM_JOB_DONE: leave the busy state, run the completion, free it.
void CompleteJob(LPARAM completion);

void RefreshBcd(std::function<void()> then = nullptr);
bool EnsureStoreLoaded(bool allowUnloaded);
// What follows a change besides its log lines and the reload after success.
struct FollowUp {
  // Read the store again after a failure too: the change may have stopped half-way
  // (several bcdedit runs), where a single failed run changed nothing.
  bool reloadAfterFailure = false;
  std::function<void()> afterSuccess;  // once the store was read again
  // How the outcome is told (on the UI thread); by default the fault's own words.
  std::function<std::wstring(bool succeeded, const zel::Fault& fault)> words;
};
void ExecuteChange(const std::wstring& description, ChangeFunction change, bool allowUnloaded, FollowUp followUp = {});
void ReportChangeResult(const std::wstring& description, bool succeeded, const std::wstring& message,
                        const FollowUp& followUp = {});

void ShowError(const std::wstring& title, const std::wstring& text);
void ShowInfo(const std::wstring& title, const std::wstring& text);
// After a failed automatic backup: logs it and asks whether to go on without one
// (Cancel has the focus); a refusal is said on the status line.
bool AskContinueWithoutBackup(const std::wstring& logPrefix, const std::wstring& failure, const zel::Fault& fault);
bool AskConfirm(const std::wstring& title, const std::wstring& text, const std::wstring& confirmText,
                ui::MessageKind kind, bool danger);

}  // namespace app
