#include "core/process_win.h"

#include <algorithm>

#include "core/command_runner.h"
#include "core/system.h"
#include "core/win_handle.h"

namespace zel {
namespace {

constexpr DWORD kReadChunk = 4096;

struct Pipe {
  UniqueHandle read;
  UniqueHandle write;
};

// Both ends inheritable at creation; the caller's end is then made private so
// the child inherits only the write end.
bool CreateOutputPipe(Pipe& pipe) {
  SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
  if (!CreatePipe(pipe.read.Receive(), pipe.write.Receive(), &security, 0)) return false;
  SetHandleInformation(pipe.read.Get(), HANDLE_FLAG_INHERIT, 0);
  return true;
}

// A job that kills whatever is inside it when its last handle closes. Returns an
// empty handle when the job cannot be made or the child cannot join it; the run
// goes on and a time-out then terminates the child alone.
UniqueHandle JoinKillOnCloseJob(HANDLE process) {
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job.Valid()) return {};
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  if (!AssignProcessToJobObject(job.Get(), process)) return {};
  return job;
}

// Polls the child every few milliseconds and drains the pipe on each poll, so a
// child that writes more than the pipe holds never stalls. Returns false on time-out.
bool WaitDraining(HANDLE process, HANDLE readEnd, std::vector<char>& bytes, uint32_t timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    // While data flows, look again at once instead of sleeping a full interval.
    const bool gotData = DrainPipe(readEnd, bytes);
    if (WaitForSingleObject(process, gotData ? 0 : kPollIntervalMs) == WAIT_OBJECT_0) return true;
    if (GetTickCount64() >= deadline) return false;
  }
}

}  // namespace

bool DrainPipe(HANDLE readEnd, std::vector<char>& buffer) {
  bool gotData = false;
  char chunk[kReadChunk];
  DWORD available = 0;
  // Read only what is announced: ReadFile on an empty pipe would block.
  while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    DWORD read = 0;
    if (!ReadFile(readEnd, chunk, std::min<DWORD>(available, kReadChunk), &read, nullptr) || read == 0) break;
    buffer.insert(buffer.end(), chunk, chunk + read);
    gotData = true;
  }
  return gotData;
}

std::wstring DecodeOemText(const std::vector<char>& buffer) {
  if (buffer.empty()) return {};
  const UINT codePage = GetOEMCP();
  const int size = static_cast<int>(buffer.size());
  const int length = MultiByteToWideChar(codePage, 0, buffer.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, buffer.data(), size, text.data(), length);
  return TrimOutputEnd(std::move(text));
}

CommandResult RunHiddenProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs) {
  CommandResult result;
  result.commandLine = DisplayCommandLine(program, arguments);

  Pipe pipe;
  if (!CreateOutputPipe(pipe)) {
    result.output = Win32ErrorText(GetLastError());
    return result;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = pipe.write.Get();
  startup.hStdError = pipe.write.Get();

  std::wstring commandLine = ProcessCommandLine(program, arguments);  // CreateProcessW may write into it
  PROCESS_INFORMATION info{};
  // Started suspended so that it joins the job before it can start anything:
  // a descendant started earlier would escape the time-out's kill.
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
    result.output = Win32ErrorText(GetLastError());
    return result;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  // Our copy of the write end must go, or the pipe never reports the end of data.
  pipe.write.Reset();

  UniqueHandle job = JoinKillOnCloseJob(process.Get());
  ResumeThread(thread.Get());

  std::vector<char> bytes;
  if (!WaitDraining(process.Get(), pipe.read.Get(), bytes, timeoutMs)) {
    result.timedOut = true;
    if (job.Valid()) {
      TerminateJobObject(job.Get(), 2);
    } else {
      TerminateProcess(process.Get(), 2);
    }
    WaitForSingleObject(process.Get(), kTerminateWaitMs);
  }
  DrainPipe(pipe.read.Get(), bytes);

  DWORD exitCode = static_cast<DWORD>(-1);
  if (!GetExitCodeProcess(process.Get(), &exitCode)) exitCode = static_cast<DWORD>(-1);
  result.exitCode = result.timedOut ? 2 : static_cast<int32_t>(exitCode);
  result.output = FinishOutput(DecodeOemText(bytes), result.timedOut);
  return result;  // job, handles and pipe close here; kill-on-close ends any leftover descendant
}

}  // namespace zel
