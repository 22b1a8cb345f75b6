#pragma once
// A private folder and environment for one test against the simulated tools:
// sample stores copied in (so writes never touch the sources), the invocation
// log, and the failure control. Everything is undone when it goes.
#include <string>
#include <vector>

namespace zel::test {

class SimSandbox {
 public:
  SimSandbox();
  ~SimSandbox();
  SimSandbox(const SimSandbox&) = delete;
  SimSandbox& operator=(const SimSandbox&) = delete;

  const std::wstring& Folder() const { return folder_; }
  // Copies sim/stores/<name> into the sandbox as `copyName`; returns its path.
  std::wstring CopyStore(const std::wstring& name, const std::wstring& copyName);
  // Makes a copied store the running system's store.
  void UseSystemStore(const std::wstring& path);
  // Makes a folder play the EFI System Partition that mountvol /S mounts.
  void UseEsp(const std::wstring& folder);
  // Invocations whose log line contains `text` fail (empty: none).
  void FailWhen(const std::wstring& text);
  // Invocations whose log line contains `text` wait `ms` before they do anything.
  void DelayWhen(const std::wstring& text, unsigned ms);
  // The invocation log so far, one entry per tool run ("bcdedit /enum all /v").
  std::vector<std::wstring> LogLines() const;
  void ClearLog();

 private:
  std::wstring folder_;
  std::wstring log_;
};

}  // namespace zel::test
