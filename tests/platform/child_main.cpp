// A small console program the runner tests start: each mode is one way a real
// tool behaves (silent, stderr only, failing, hanging, flooding, spawning).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Write(HANDLE to, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

HANDLE Out() { return GetStdHandle(STD_OUTPUT_HANDLE); }

// Starts this program again as `sleep` and writes the new process id to `pidFile`.
int StartGrandchild(const wchar_t* pidFile) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" sleep 600000";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Inheriting handles keeps the pipe open in the grandchild too: the worst case.
  if (!CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) return 3;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  FILE* file = _wfopen(pidFile, L"w");
  if (file == nullptr) return 4;
  fprintf(file, "%lu", info.dwProcessId);
  fclose(file);
  Write(Out(), "spawned\r\n");
  Sleep(INFINITE);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"silent") return 0;
  if (mode == L"stderr") {
    Write(GetStdHandle(STD_ERROR_HANDLE), "only on stderr\r\n");
    return 0;
  }
  if (mode == L"fail") {
    Write(Out(), "The parameter is incorrect.\r\n");
    return 1;
  }
  if (mode == L"sleep" && argc > 2) {
    Write(Out(), "started\r\n");
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    return 0;
  }
  if (mode == L"grandchild" && argc > 2) return StartGrandchild(argv[2]);
  if (mode == L"flood" && argc > 2) {
    // Lines of 64 bytes: 62 letters, CR, LF. Written in large chunks to fill the pipe.
    const long total = _wtol(argv[2]);
    std::string line;
    for (int i = 0; i < 62; ++i) line.push_back(static_cast<char>('a' + i % 26));
    line += "\r\n";
    std::string chunk;
    while (chunk.size() < 65536) chunk += line;
    for (long sent = 0; sent < total; sent += static_cast<long>(chunk.size())) {
      Write(Out(), chunk.substr(0, static_cast<size_t>(std::min<long>(total - sent, chunk.size()))));
    }
    return 0;
  }
  if (mode == L"oem") {
    Write(Out(), "Caf\x82 \x81" "ber \x8a\r\n\r\n");  // "Café über è" in code page 437
    return 0;
  }
  if (mode == L"lines") {
    Write(Out(), "line 1\r\n\r\nline 2\r\n\r\n");
    return 0;
  }
  return 9;
}
