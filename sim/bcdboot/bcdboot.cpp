#include "sim/bcdboot/bcdboot.h"

#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdboot/boot_entries.h"
#include "sim/bcdedit/store.h"

namespace sim {
namespace {

constexpr std::wstring_view kUsage =
    L"Bcdboot - Bcd boot file creation and repair tool.\r\n"
    L"\r\n"
    L"The bcdboot.exe command-line tool is used to copy critical boot files to the\r\n"
    L"system partition and to create a new system BCD store.\r\n"
    L"\r\n"
    L"bcdboot <source> [/l <locale>] [/s <volume-letter> [/f <firmware>]] [/d]\r\n"
    L"\r\n"
    L"    source     Specifies the location of the windows system root.\r\n"
    L"    /l         Specifies an optional locale parameter to use when\r\n"
    L"               initializing the BCD store. The default is US English.\r\n"
    L"    /s         Specifies an optional volume letter parameter to designate\r\n"
    L"               the target system partition where boot environment files are\r\n"
    L"               copied. The default is the system partition.\r\n"
    L"    /f         Used with the /s command, specifies the firmware type of the\r\n"
    L"               target system partition. Options for <firmware> are\r\n"
    L"               'UEFI', 'BIOS', or 'ALL'.\r\n"
    L"    /d         Specifies that the existing default windows boot entry\r\n"
    L"               should be preserved.\r\n"
    L"\r\n"
    L"Example: bcdboot c:\\windows /l en-us\r\n";

constexpr std::wstring_view kCopyFailed = L"Failure when attempting to copy boot files.\r\n";
constexpr std::wstring_view kStoreFailed = L"Failure when attempting to update the boot configuration data store.\r\n";
constexpr std::wstring_view kSucceeded = L"Boot files successfully created.\r\n";

// A boot file the tool puts on the system partition, and where it comes from in the Windows folder.
struct BootFile {
  Firmware firmware;
  std::wstring_view source;  // below the Windows folder
  std::wstring_view target;  // below the partition root
};

constexpr BootFile kBootFiles[] = {
    {Firmware::kUefi, L"\\Boot\\EFI\\bootmgfw.efi", L"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"},
    {Firmware::kUefi, L"\\Boot\\EFI\\bootmgfw.efi", L"\\EFI\\Boot\\bootx64.efi"},
    {Firmware::kBios, L"\\Boot\\PCAT\\bootmgr", L"\\bootmgr"},
};

Outcome Fail(std::wstring_view message) { return {1, std::wstring(message)}; }

bool IsDriveLetter(const std::wstring& text) {
  return text.size() == 2 && text[1] == L':' && zel::ToLowerChar(text[0]) >= L'a' && zel::ToLowerChar(text[0]) <= L'z';
}

std::wstring UpperDrive(const std::wstring& text) {
  return {static_cast<wchar_t>(zel::ToLowerChar(text[0]) - L'a' + L'A'), L':'};
}

bool ParseFirmware(const std::wstring& word, std::vector<Firmware>& firmwares) {
  if (zel::EqualsNoCase(word, L"UEFI")) return firmwares = {Firmware::kUefi}, true;
  if (zel::EqualsNoCase(word, L"BIOS")) return firmwares = {Firmware::kBios}, true;
  if (zel::EqualsNoCase(word, L"ALL")) return firmwares = {Firmware::kUefi, Firmware::kBios}, true;
  return false;
}

// The folder a file goes into; a drive keeps its root separator ("S:\bootmgr" gives "S:\").
std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return path.substr(0, slash == 2 ? 3 : slash);
}

// The Windows folder's own file when it has one, else a placeholder that says what it stands for.
std::string BootFileBytes(const BootFile& file, const std::wstring& windowsFolder, const BcdbootFiles& files) {
  std::string bytes;
  if (files.read(windowsFolder + std::wstring(file.source), bytes)) return bytes;
  return zel::WideToUtf8(L"Simulated boot file " + std::wstring(file.target) + L" for " + windowsFolder + L"\r\n");
}

bool CopyBootFiles(const BcdbootRequest& request, Firmware firmware, const BcdbootFiles& files) {
  for (const auto& file : kBootFiles) {
    if (file.firmware != firmware) continue;
    const std::wstring target = request.systemDrive + std::wstring(file.target);
    if (!files.createFolders(FolderOf(target)) ||
        !files.write(target, BootFileBytes(file, request.windowsFolder, files))) {
      return false;
    }
  }
  return true;
}

// Loads the store, or starts an empty one when the file is missing; false for a damaged store.
bool OpenOrStartStore(const std::wstring& path, const BcdbootFiles& files, BcdStore& store) {
  std::string bytes;
  if (!files.read(path, bytes)) return true;
  std::wstring reason;
  return LoadStore(bytes, store, reason);
}

bool UpdateStore(const std::wstring& path, WindowsBoot boot, bool useStoreFirmware, const BcdbootFiles& files) {
  BcdStore store;
  if (!OpenOrStartStore(path, files, store)) return false;
  if (useStoreFirmware) boot.firmware = FirmwareOfStore(store);
  RegisterWindows(store, boot);
  return files.createFolders(FolderOf(path)) && files.write(path, SaveStore(store));
}

std::wstring StoreOnPartition(const std::wstring& drive, Firmware firmware) {
  return drive + (firmware == Firmware::kUefi ? L"\\EFI\\Microsoft\\Boot\\BCD" : L"\\Boot\\BCD");
}

}  // namespace

bool ParseBcdbootArguments(const std::vector<std::wstring>& args, BcdbootRequest& request) {
  if (args.empty() || args[0].empty() || args[0][0] == L'/') return false;
  BcdbootRequest parsed;
  parsed.windowsFolder = args[0];
  while (parsed.windowsFolder.size() > 3 &&
         (parsed.windowsFolder.back() == L'\\' || parsed.windowsFolder.back() == L'/')) {
    parsed.windowsFolder.pop_back();
  }
  bool firmwareGiven = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::wstring option = zel::ToLower(args[i]);
    if (option == L"/d") {
      parsed.keepDefault = true;
      continue;
    }
    if (option != L"/s" && option != L"/f" && option != L"/l") return false;
    if (++i == args.size()) return false;
    const std::wstring& value = args[i];
    if (option == L"/s") {
      const std::wstring drive = value.size() == 3 && value[2] == L'\\' ? value.substr(0, 2) : value;
      if (!IsDriveLetter(drive)) return false;
      parsed.systemDrive = UpperDrive(drive);
    } else if (option == L"/f") {
      if (!ParseFirmware(value, parsed.firmwares)) return false;
      firmwareGiven = true;
    } else {
      if (value.empty()) return false;
      parsed.locale = value;
    }
  }
  if (firmwareGiven && parsed.systemDrive.empty()) return false;
  if (!parsed.systemDrive.empty() && !firmwareGiven) parsed.firmwares = {Firmware::kUefi};
  request = std::move(parsed);
  return true;
}

Outcome ExecuteBcdboot(const std::vector<std::wstring>& args, const BcdbootFiles& files) {
  BcdbootRequest request;
  if (!ParseBcdbootArguments(args, request)) return Fail(kUsage);
  const std::wstring windowsDrive = request.windowsFolder.substr(0, 2);
  if (!IsDriveLetter(windowsDrive) || !files.isFolder(request.windowsFolder)) return Fail(kCopyFailed);

  WindowsBoot boot;
  boot.windowsDrive = UpperDrive(windowsDrive);
  boot.systemDrive = request.systemDrive;
  boot.keepDefault = request.keepDefault;
  boot.locale = request.locale;
  if (request.systemDrive.empty()) {
    // No partition named: the running system's store, in its own firmware's flavour.
    if (files.systemStorePath.empty()) return Fail(kStoreFailed);
    return UpdateStore(files.systemStorePath, boot, true, files) ? Outcome{0, std::wstring(kSucceeded)}
                                                                 : Fail(kStoreFailed);
  }
  if (!files.isFolder(request.systemDrive + L"\\")) return Fail(kCopyFailed);
  for (const Firmware firmware : request.firmwares) {
    if (!CopyBootFiles(request, firmware, files)) return Fail(kCopyFailed);
  }
  for (const Firmware firmware : request.firmwares) {
    boot.firmware = firmware;
    if (!UpdateStore(StoreOnPartition(request.systemDrive, firmware), boot, false, files)) return Fail(kStoreFailed);
  }
  return {0, std::wstring(kSucceeded)};
}

}  // namespace sim
