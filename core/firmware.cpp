#include "core/firmware.h"

#include "core/command_runner.h"
#include "core/platform.h"
#include "core/system.h"

namespace zel {
namespace {

constexpr int kFirmwareBios = 1;
constexpr int kFirmwareUefi = 2;
constexpr uint64_t kBootToFirmwareUi = 1;
constexpr uint32_t kDefaultVariableAttributes = 7;  // non-volatile, boot-service and runtime access

bool RunTool(const std::wstring& name, const std::wstring& arguments, Fault& error) {
  const CommandResult result = RunProcess(SystemToolPath(name), arguments, kShortToolTimeoutMs);
  error = result.Succeeded() ? Fault{} : Said(result.output);
  return result.Succeeded();
}

bool HasTool(const std::wstring& name) { return FileExists(SystemToolPath(name)); }

// The firmware variable calls need this privilege; 0 when it is enabled.
uint32_t EnablePrivilegeError() { return CurrentPlatform().EnablePrivilege(L"SeSystemEnvironmentPrivilege"); }

// Inside Windows PE, wpeutil is the way to restart or shut down when it is there.
bool UseWpeutil() { return IsWinPeEnvironment() && HasTool(L"wpeutil.exe"); }

bool RestartIntoFirmware(Fault& error) {
  if (!IsWinPeEnvironment() && HasTool(L"shutdown.exe")) return RunTool(L"shutdown.exe", L"/r /fw /t 0", error);
  if (!RequestFirmwareSetup(error)) return false;
  if (HasTool(L"wpeutil.exe")) return RunTool(L"wpeutil.exe", L"Reboot", error);
  if (HasTool(L"shutdown.exe")) return RunTool(L"shutdown.exe", L"/r /t 0", error);
  error = {FaultKind::NoRestartTool, {}};
  return false;
}

}  // namespace

bool IsWinPeEnvironment() {
  Platform& platform = CurrentPlatform();
  if (platform.RegistryKeyExists(L"SYSTEM\\CurrentControlSet\\Control\\MiniNT")) return true;
  const std::wstring drive = platform.ShortEnvironmentVariable(L"SystemDrive");
  return drive.size() == 2 && (drive[0] == L'X' || drive[0] == L'x') && drive[1] == L':';
}

FirmwareKind MachineFirmware() {
  switch (CurrentPlatform().FirmwareType()) {
    case kFirmwareUefi:
      return FirmwareKind::Uefi;
    case kFirmwareBios:
      return FirmwareKind::LegacyBios;
    default:
      return FirmwareKind::Unknown;
  }
}

std::wstring EnvironmentLabel() {
  if (!IsWinPeEnvironment()) return L"Windows";
  std::wstring drive = CurrentPlatform().ShortEnvironmentVariable(L"SystemDrive");
  if (drive.empty()) drive = L"X:";
  return L"Windows PE (" + drive + L")";
}

bool EnableFirmwarePrivilege() { return EnablePrivilegeError() == 0; }

bool RequestFirmwareSetup(Fault& error) {
  error.clear();
  Platform& platform = CurrentPlatform();
  if (platform.FirmwareType() != kFirmwareUefi) {
    error = {FaultKind::NotUefi, {}};
    return false;
  }
  const uint32_t privilege = EnablePrivilegeError();
  if (privilege != 0) {
    error = {FaultKind::PrivilegeNotEnabled, Win32ErrorText(privilege)};
    return false;
  }
  uint64_t supported = 0;
  uint32_t ignored = 0;
  if (platform.ReadFirmwareVariable(L"OsIndicationsSupported", EfiGlobalVariableGuid, supported, ignored) == 0 ||
      (supported & kBootToFirmwareUi) == 0) {
    error = {FaultKind::FirmwareSetupUnsupported, {}};
    return false;
  }
  uint64_t indications = 0;
  uint32_t attributes = 0;
  if (platform.ReadFirmwareVariable(L"OsIndications", EfiGlobalVariableGuid, indications, attributes) != 8) {
    indications = 0;
    attributes = kDefaultVariableAttributes;
  }
  indications |= kBootToFirmwareUi;
  if (attributes == 0) attributes = kDefaultVariableAttributes;
  const uint32_t written = platform.WriteFirmwareVariable(L"OsIndications", EfiGlobalVariableGuid, indications, attributes);
  if (written != 0) {
    error = {FaultKind::OsIndicationsNotWritten, Win32ErrorText(written)};
    return false;
  }
  return true;
}

bool RunPowerAction(PowerAction action, Fault& error) {
  switch (action) {
    case PowerAction::Restart:
      return UseWpeutil() ? RunTool(L"wpeutil.exe", L"Reboot", error) : RunTool(L"shutdown.exe", L"/r /t 0", error);
    case PowerAction::Shutdown:
      return UseWpeutil() ? RunTool(L"wpeutil.exe", L"Shutdown", error) : RunTool(L"shutdown.exe", L"/s /t 0", error);
    case PowerAction::FirmwareSetup:
      break;
  }
  return RestartIntoFirmware(error);
}

}  // namespace zel
