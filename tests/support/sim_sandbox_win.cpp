#include "tests/support/sim_sandbox.h"

#include <windows.h>

#include <filesystem>

#include "core/text.h"
#include "core/utf8.h"
#include "tests/support/files.h"

namespace zel::test {
namespace {

std::wstring UniqueFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"zq-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

// Every control the simulated tools read; a sandbox starts and ends with none of them set.
void ClearControls() {
  for (const wchar_t* name : {L"ZQ_SIM_LOG", L"ZQ_SIM_STORE", L"ZQ_SIM_FAIL", L"ZQ_SIM_DELAY_MS", L"ZQ_SIM_DELAY_MATCH",
                              L"ZQ_SIM_ESP"}) {
    SetEnvironmentVariableW(name, nullptr);
  }
}

}  // namespace

SimSandbox::SimSandbox() : folder_(UniqueFolder()), log_(folder_ + L"\\invocations.log") {
  std::filesystem::create_directories(folder_);
  ClearControls();
  SetEnvironmentVariableW(L"ZQ_SIM_LOG", log_.c_str());
}

SimSandbox::~SimSandbox() {
  ClearControls();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::wstring SimSandbox::CopyStore(const std::wstring& name, const std::wstring& copyName) {
  const std::wstring source = Utf8ToWide(ZQ_SIM_STORES_DIR) + L"\\" + name;
  const std::wstring target = folder_ + L"\\" + copyName;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path());
  CopyFileW(source.c_str(), target.c_str(), FALSE);
  return target;
}

void SimSandbox::UseSystemStore(const std::wstring& path) { SetEnvironmentVariableW(L"ZQ_SIM_STORE", path.c_str()); }

void SimSandbox::UseEsp(const std::wstring& folder) { SetEnvironmentVariableW(L"ZQ_SIM_ESP", folder.c_str()); }

void SimSandbox::FailWhen(const std::wstring& text) {
  SetEnvironmentVariableW(L"ZQ_SIM_FAIL", text.empty() ? nullptr : text.c_str());
}

void SimSandbox::DelayWhen(const std::wstring& text, unsigned ms) {
  SetEnvironmentVariableW(L"ZQ_SIM_DELAY_MATCH", text.c_str());
  SetEnvironmentVariableW(L"ZQ_SIM_DELAY_MS", std::to_wstring(ms).c_str());
}

std::vector<std::wstring> SimSandbox::LogLines() const {
  return SplitLines(Utf8ToWide(ReadBytes(log_)));
}

void SimSandbox::ClearLog() { DeleteFileW(log_.c_str()); }

}  // namespace zel::test
