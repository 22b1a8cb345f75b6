// The host build runs the portable rules only: nothing here reaches a machine.
// Tests that need one install a scripted fake.
#include "core/command_runner.h"
#include "core/platform.h"

namespace zel {
namespace {

class NoPlatform final : public Platform {
 public:
  CommandResult RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t) override {
    CommandResult result;
    result.commandLine = DisplayCommandLine(program, arguments);
    result.output = L"Programs cannot be started on this platform.";
    return result;
  }
  std::wstring SystemDirectory() override { return {}; }
  std::wstring SystemErrorMessage(uint32_t) override { return {}; }
  uint32_t FileAttributes(const std::wstring&) override { return kInvalidFileAttributes; }
  std::vector<std::wstring> LogicalDriveRoots() override { return {}; }
  std::vector<std::wstring> VolumeNames() override { return {}; }
  std::wstring ModuleFileName() override { return {}; }
  std::wstring TempFolder() override { return {}; }
  bool CreateFolders(const std::wstring&) override { return false; }
  bool CreateProbeFile(const std::wstring&) override { return false; }
  bool RemoveFile(const std::wstring&) override { return false; }
  bool SetAttributes(const std::wstring&, uint32_t) override { return false; }
  uint32_t CopyFileTo(const std::wstring&, const std::wstring&) override { return 50; }  // not supported
  std::vector<FolderItem> ListFolder(const std::wstring&) override { return {}; }
  bool ReadFileEnd(const std::wstring&, size_t, std::string&) override { return false; }
  uint32_t AppendToFile(const std::wstring&, const std::string&) override { return 50; }
  uint32_t WriteNewFile(const std::wstring&, const std::string&) override { return 50; }
  uint64_t CreationTime(const std::wstring&) override { return 0; }
  LocalTime Now() override { return {}; }
  uint32_t ProcessId() override { return 0; }
  bool RegistryString(const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
  bool DosDeviceTarget(const std::wstring&, std::wstring&) override { return false; }
  uint32_t LogicalDriveMask() override { return 0; }
  uint32_t MoveFileReplacing(const std::wstring&, const std::wstring&) override { return 50; }
  std::wstring ShortEnvironmentVariable(const std::wstring&) override { return {}; }
  bool RegistryKeyExists(const std::wstring&) override { return false; }
  std::vector<std::optional<std::wstring>> HiveFileStrings(const std::wstring&, const std::vector<std::wstring>& keys,
                                                           const std::wstring&) override {
    return std::vector<std::optional<std::wstring>>(keys.size());
  }
  int FirmwareType() override { return 0; }
  uint32_t EnablePrivilege(const std::wstring&) override { return 50; }
  uint32_t ReadFirmwareVariable(const std::wstring&, const std::wstring&, uint64_t&, uint32_t&) override { return 0; }
  uint32_t WriteFirmwareVariable(const std::wstring&, const std::wstring&, uint64_t, uint32_t) override { return 50; }
};

}  // namespace

Platform& DefaultPlatform() {
  static NoPlatform platform;
  return platform;
}

}  // namespace zel
