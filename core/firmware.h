#pragma once
// What machine and environment this is, and acting on it: restart, shut down,
// or restart straight into the UEFI firmware setup.
#include <string>

#include "core/fault.h"

namespace zel {

inline const std::wstring EfiGlobalVariableGuid = L"{8BE4DF61-93CA-11D2-AA0D-00E098032B8C}";

enum class FirmwareKind { Unknown, LegacyBios, Uefi };
enum class PowerAction { Restart, Shutdown, FirmwareSetup };

bool IsWinPeEnvironment();
FirmwareKind MachineFirmware();
// "Windows", or "Windows PE (X:)".
std::wstring EnvironmentLabel();
bool EnableFirmwarePrivilege();
// Sets the boot-to-firmware-setup bit of OsIndications, keeping every other bit.
// Writes nothing unless the machine is UEFI, the privilege is held and the firmware offers it.
bool RequestFirmwareSetup(Fault& error);
// True when the tool used ran and succeeded; else `error` holds its message or why none ran.
bool RunPowerAction(PowerAction action, Fault& error);

}  // namespace zel
