#pragma once
// A scripted machine for tests: records every program run and answers from a
// script, and keeps a small in-memory file system, so a test asserts the exact
// command lines and file operations of an operation and drives every failure
// path without a real process or disk.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/platform.h"

namespace zel::test {

struct RunCall {
  std::wstring program;
  std::wstring arguments;
  uint32_t timeoutMs = 0;
};

struct FakeFile {
  std::wstring path;  // as first written
  uint32_t attributes = 0x20;
  uint64_t created = 0;
  std::wstring content;
  std::string bytes;  // what the byte-level reads and writes see
};

class FakePlatform : public Platform {
 public:
  FakePlatform();

  // Queues the reply to the next run; runs beyond the queue fail with exit code -1.
  // Runs made at the same time take the queue in no set order: script those by ReplyWhen.
  void Reply(int32_t exitCode, const std::wstring& output) { queue_.push_back({exitCode, false, output}); }
  // Answers every run whose arguments contain `needle` (checked before the queue, first match wins).
  void ReplyWhen(const std::wstring& needle, int32_t exitCode, const std::wstring& output) {
    rules_.push_back({needle, {exitCode, false, output}});
  }
  // Just the argument texts, in order.
  std::vector<std::wstring> Arguments() const;

  // The in-memory disk; paths compare without regard to case, as on Windows.
  void AddFile(const std::wstring& path, const std::wstring& content = L"", uint32_t attributes = 0x20,
               uint64_t created = 0);
  void AddFolder(const std::wstring& path) { AddFile(path, L"", kAttributeDirectory); }
  const FakeFile* Find(const std::wstring& path) const;
  bool Exists(const std::wstring& path) const { return Find(path) != nullptr; }

  std::vector<RunCall> runs;
  // Called for every run before it is answered: what the tool would do to the disk.
  std::function<void(const RunCall&)> onRun;
  std::wstring systemDirectory = L"C:\\Windows\\system32";
  std::wstring moduleFileName = L"X:\\Tools\\ZelQuillonPE.exe";
  std::wstring tempFolder = L"X:\\Temp\\";
  std::map<uint32_t, std::wstring> errorMessages;
  std::vector<std::wstring> driveRoots;
  std::vector<std::wstring> volumeNames;
  std::set<std::wstring> readOnlyFolders;  // lower case: probe files cannot be made there
  uint32_t copyError = 0;                  // when not 0, every copy fails with it
  std::vector<std::wstring> removed;       // paths removed, in order
  LocalTime now{2025, 3, 2, 9, 5, 7, 4};
  std::map<std::wstring, std::wstring> registry;    // "key|value" -> text
  std::map<std::wstring, std::wstring> dosDevices;  // "E:" -> "\Device\HarddiskVolume3"
  std::set<std::wstring> registryKeys;
  // Application hives: file (lower case) -> "key|value" -> text. A file missing here cannot be opened.
  std::map<std::wstring, std::map<std::wstring, std::wstring>> hiveFiles;
  std::vector<std::wstring> hivesOpened;  // every file asked for, in order
  std::map<std::wstring, std::wstring> environment;
  uint32_t moveError = 0;   // when not 0, every move fails with it
  uint32_t writeError = 0;  // when not 0, every append and new file fails with it
  int firmwareType = 2;
  uint32_t privilegeError = 0;
  struct FirmwareVariable {
    uint64_t value = 0;
    uint32_t attributes = 0;
    uint32_t size = 8;
  };
  std::map<std::wstring, FirmwareVariable> firmwareVariables;  // by name
  uint32_t firmwareWriteError = 0;
  int firmwareWrites = 0;

  CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs) override;
  std::wstring SystemDirectory() override { return systemDirectory; }
  std::wstring SystemErrorMessage(uint32_t code) override;
  uint32_t FileAttributes(const std::wstring& path) override;
  std::vector<std::wstring> LogicalDriveRoots() override { return driveRoots; }
  std::vector<std::wstring> VolumeNames() override { return volumeNames; }
  std::wstring ModuleFileName() override { return moduleFileName; }
  std::wstring TempFolder() override { return tempFolder; }
  bool CreateFolders(const std::wstring& path) override;
  bool CreateProbeFile(const std::wstring& path) override;
  bool RemoveFile(const std::wstring& path) override;
  bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
  uint32_t CopyFileTo(const std::wstring& from, const std::wstring& to) override;
  std::vector<FolderItem> ListFolder(const std::wstring& folder) override;
  bool ReadFileEnd(const std::wstring& path, size_t maxBytes, std::string& bytes) override;
  uint32_t AppendToFile(const std::wstring& path, const std::string& bytes) override;
  uint32_t WriteNewFile(const std::wstring& path, const std::string& bytes) override;
  uint64_t CreationTime(const std::wstring& path) override;
  LocalTime Now() override { return now; }
  uint32_t ProcessId() override { return 4242; }
  bool RegistryString(const std::wstring& key, const std::wstring& value, std::wstring& text) override;
  bool DosDeviceTarget(const std::wstring& device, std::wstring& target) override;
  uint32_t LogicalDriveMask() override;
  uint32_t MoveFileReplacing(const std::wstring& from, const std::wstring& to) override;
  std::wstring ShortEnvironmentVariable(const std::wstring& name) override;
  bool RegistryKeyExists(const std::wstring& key) override { return registryKeys.count(key) != 0; }
  std::vector<std::optional<std::wstring>> HiveFileStrings(const std::wstring& hiveFile,
                                                           const std::vector<std::wstring>& keys,
                                                           const std::wstring& value) override;
  int FirmwareType() override { return firmwareType; }
  uint32_t EnablePrivilege(const std::wstring&) override { return privilegeError; }
  uint32_t ReadFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t& value,
                                uint32_t& attributes) override;
  uint32_t WriteFirmwareVariable(const std::wstring& name, const std::wstring& vendorGuid, uint64_t value,
                                 uint32_t attributes) override;

 private:
  struct Rule {
    std::wstring needle;
    CommandResult result;
  };
  FakeFile* FindMutable(const std::wstring& path);
  // The file to write into, made in an existing folder when missing; null with the error code.
  FakeFile* WritableFile(const std::wstring& path, uint32_t& error);
  std::mutex runMutex_;
  std::deque<CommandResult> queue_;
  std::vector<Rule> rules_;
  std::map<std::wstring, FakeFile> files_;  // keyed by lower-case path
  std::unique_ptr<ScopedPlatform> installed_;
};

}  // namespace zel::test
