#include "app/jobs_win.h"

#include "app/command_log.h"
#include "app/fault_text.h"
#include "app/main_window_win.h"
#include "core/bcd_backup.h"
#include "core/bcd_store.h"
#include "core/concurrently.h"
#include "core/store_selection.h"
#include "ui/language.h"
#include "ui/views/entries_layout.h"

namespace app {

using zel::Pick;

std::atomic<bool> g_jobResultLost{false};

AppState& State() {
  static AppState state;
  return state;
}

void SetBusy(bool busy, const std::wstring& text) {
  AppState& state = State();
  state.shown.busy = busy;
  if (!text.empty()) SetStatus(text);
  if (busy) {
    SetTimer(state.view.window, kBusyTimer, 30, nullptr);
  } else {
    KillTimer(state.view.window, kBusyTimer);
  }
  state.shown.busyFrame = 0;
  InvalidateBusyBar();
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void ReportJobStartFailure() {
  SetBusy(false, ui::StatusText(ui::Status::JobNotStarted));
  ShowError(Pick(L"Zel Quillon PE — Lỗi", L"Zel Quillon PE — Error"),
            Pick(L"Không thể tạo luồng xử lý cho thao tác này.", L"No worker thread could be started for this operation."));
}

bool TakeLostJobResult() {
  if (!g_jobResultLost.exchange(false)) return false;
  SetBusy(false, ui::StatusText(ui::Status::JobResultLost));
  AppendLog(Pick(L"> Tác vụ nền đã xong nhưng không gửi được kết quả về cửa sổ. Hãy bấm Làm mới BCD để xem trạng thái "
                 L"hiện tại.",
                 L"> A background job finished, but its result could not reach the window. Use Refresh BCD to see the "
                 L"current state."));
  return true;
}

void CompleteJob(LPARAM lParam) {
  std::unique_ptr<std::function<void()>> completion(reinterpret_cast<std::function<void()>*>(lParam));
  SetBusy(false, L"");
  if (completion && *completion) (*completion)();
  // Give the keyboard back to the list, unless the completion started the next job.
  const AppState& state = State();
  if (!IsBusy() && GetFocus() == nullptr && GetActiveWindow() == state.view.window) SetFocus(state.view.entries);
}

void RefreshBcd(std::function<void()> then) {
  if (IsBusy()) return;
  const std::wstring path = State().shown.selectedStorePath;
  RunInBackground<RefreshResult>(
      Pick(L"Đang đọc kho BCD...", L"Loading BCD store..."),
      [path] {
        RefreshResult result;
        // The drive scan (slow on a machine with many volumes) and the load do not depend on each other.
        {
          const zel::Concurrently scan([&result] { result.storeFiles = zel::FindStoreFiles(); });
          result.snapshot = zel::LoadBcdSnapshot(path);
        }
        return result;
      },
      [path, then](RefreshResult& result) {
        AppState& state = State();
        state.storeFiles = std::move(result.storeFiles);
        state.loadedStorePath = path;
        state.snapshot = std::move(result.snapshot);
        state.loadError = FaultText(state.snapshot.error);
        state.selectedEntryId = ui::SelectionAfterReload(state.snapshot, state.selectedEntryId);
        ShowSnapshot();
        if (state.snapshot.loaded) {
          AppendLog(L"> bcdedit " + (path.empty() ? std::wstring(L"(system)") : L"/store \"" + path + L"\"") +
                    L" /enum all /v [OK]");
          SetStatus(ui::StatusText(ui::Status::Loaded, state.snapshot.entries.size()));
          for (const auto& id : state.snapshot.suspectIds) {
            AppendLog(Pick(L"> Cảnh báo: kho BCD liệt kê ", L"> Warning: the store lists ") + id +
                      Pick(L" nhiều hơn một lần; sẽ không sửa đối tượng này.", L" more than once; it will not be changed."));
          }
        } else {
          AppendLog(Pick(L"> Không thể đọc BCD: ", L"> Could not read BCD: ") + FaultText(state.snapshot.error));
          SetStatus(ui::StatusText(ui::Status::LoadFailed));
        }
        if (then) then();
      });
}

bool EnsureStoreLoaded(bool allowUnloaded) {
  const AppState& state = State();
  if (state.shown.selectedStorePath == state.loadedStorePath && (state.snapshot.loaded || allowUnloaded)) return true;
  ShowInfo(Pick(L"Kho BCD chưa được tải", L"BCD store not loaded"),
           Pick(L"Kho BCD đang chọn chưa được tải (hoặc không đọc được).\r\n\r\nỨng dụng sẽ tải lại kho đã chọn — hãy kiểm "
                L"tra danh sách rồi thực hiện lại thao tác.",
                L"The selected BCD store is not loaded (or could not be read).\r\n\r\nThe app will reload the selected "
                L"store — check the list, then repeat the action."));
  RefreshBcd();
  return false;
}

void ReportChangeResult(const std::wstring& description, bool succeeded, const std::wstring& message,
                        const FollowUp& followUp) {
  if (succeeded) {
    AppendLog(L"> " + description + L" [OK]");
    if (!message.empty()) AppendLog(L"> " + message);
    SetStatus(ui::StatusText(ui::Status::Completed));
    RefreshBcd(followUp.afterSuccess);
    return;
  }
  AppendLog(L"> " + description + Pick(L" [Lỗi] ", L" [Error] ") + message);
  SetStatus(ui::StatusText(ui::Status::Failed));
  if (followUp.reloadAfterFailure) RefreshBcd();  // the cards show what was written before the failure
  ShowError(Pick(L"Zel Quillon PE — Lỗi", L"Zel Quillon PE — Error"), message);
}

namespace {

void ReportOutcome(const std::wstring& description, const ChangeOutcome& outcome, const FollowUp& followUp) {
  const std::wstring message = followUp.words ? followUp.words(outcome.changeSucceeded, outcome.fault)
                                              : FaultText(outcome.fault);
  ReportChangeResult(description, outcome.changeSucceeded, message, followUp);
}

// The change again, without a backup, after the user accepted that.
void RunChangeWithoutBackup(const std::wstring& description, const std::wstring& storePath, ChangeFunction change,
                            const FollowUp& followUp) {
  RunInBackground<ChangeOutcome>(
      description + L"...",
      [storePath, change] {
        ChangeOutcome outcome;
        outcome.changeSucceeded = change(storePath, outcome.fault);
        return outcome;
      },
      [description, followUp](ChangeOutcome& outcome) { ReportOutcome(description, outcome, followUp); });
}

}  // namespace

void ExecuteChange(const std::wstring& description, ChangeFunction change, bool allowUnloaded, FollowUp followUp) {
  if (IsBusy() || !EnsureStoreLoaded(allowUnloaded)) return;
  const std::wstring storePath = State().loadedStorePath;
  RunInBackground<ChangeOutcome>(
      description + L"...",
      [description, storePath, change] {
        ChangeOutcome outcome;
        outcome.backupSucceeded =
            zel::BackupStoreBeforeChange(storePath, description, outcome.backupPath, outcome.backupFault);
        if (outcome.backupSucceeded) outcome.changeSucceeded = change(storePath, outcome.fault);
        return outcome;
      },
      [description, storePath, change, followUp](ChangeOutcome& outcome) {
        if (outcome.backupSucceeded) {
          if (!outcome.backupPath.empty()) {
            AppendLog(L"> Auto-backup \u2192 " + outcome.backupPath + L" [OK]");
            State().lastChange = {storePath, outcome.backupPath, description};
          }
          ReportOutcome(description, outcome, followUp);
          return;
        }
        if (AskContinueWithoutBackup(Pick(L"> Auto-backup thất bại: ", L"> Auto-backup failed: "),
                                     Pick(L"Không thể tự động sao lưu BCD:", L"Automatic BCD backup failed:"),
                                     outcome.backupFault)) {
          RunChangeWithoutBackup(description, storePath, change, followUp);
        }
      });
}

bool AskContinueWithoutBackup(const std::wstring& logPrefix, const std::wstring& failure, const zel::Fault& fault) {
  const std::wstring error = FaultText(fault);
  AppendLog(logPrefix + error);
  const std::wstring text = failure + L"\r\n\r\n" + error +
                            Pick(L"\r\n\r\nBạn vẫn muốn tiếp tục mà KHÔNG có bản sao lưu?", L"\r\n\r\nContinue WITHOUT a backup?");
  if (AskConfirm(Pick(L"Cảnh báo sao lưu", L"Backup warning"), text, Pick(L"Vẫn tiếp tục", L"Continue anyway"),
                 ui::MessageKind::Warning, true)) {
    return true;
  }
  SetStatus(ui::StatusText(ui::Status::Cancelled));
  return false;
}

void ShowError(const std::wstring& title, const std::wstring& text) {
  ui::ShowMessage(State().view.window, title, text, ui::MessageKind::Error, {L"OK"}, -1, 0);
}

void ShowInfo(const std::wstring& title, const std::wstring& text) {
  ui::ShowMessage(State().view.window, title, text, ui::MessageKind::Information, {L"OK"}, -1, 0);
}

bool AskConfirm(const std::wstring& title, const std::wstring& text, const std::wstring& confirmText, ui::MessageKind kind,
                bool danger) {
  return ui::ShowMessage(State().view.window, title, text, kind, {confirmText, Pick(L"Huỷ bỏ", L"Cancel")}, danger ? 0 : -1,
                         1) == 0;
}

}  // namespace app
