#pragma once
// Verbose listings as bcdedit prints them, for parser tests, and the pieces to build others.
#include <algorithm>
#include <cwchar>
#include <string>

namespace zel::test {

// A GUID told apart by its number: {0000000n-aaaa-4aaa-8aaa-aaaaaaaaaaaa}.
inline std::wstring Guid(int n) {
  wchar_t text[40];
  std::swprintf(text, 40, L"{%08x-aaaa-4aaa-8aaa-aaaaaaaaaaaa}", static_cast<unsigned>(n));
  return text;
}

// An element line, its value in bcdedit's column (24) or one blank after a longer name.
inline std::wstring Line(std::wstring name, const std::wstring& value) {
  name.resize(std::max<size_t>(24, name.size() + 1), L' ');
  return name + value + L"\r\n";
}

// One object: a blank line, its title underlined, its identifier line (the key follows the display
// language), then the element lines.
inline std::wstring Block(const std::wstring& title, const std::wstring& id, const std::wstring& elements,
                          const std::wstring& key = L"identifier") {
  return L"\r\n" + title + L"\r\n" + std::wstring(title.size(), L'-') + L"\r\n" + Line(key, id) + elements;
}

// A UEFI machine: firmware manager, boot manager, Windows 11, a WinPE RAM-disk
// entry with its options, a memory tester, a resume object and a hidden
// recovery loader.
inline const std::wstring kUefiListing =
    Block(L"Firmware Boot Manager", L"{a5a30fa2-3d06-4e9f-b5f4-a01df9d1fcba}",
          L"displayorder            {9dea862c-5cdd-4e70-acc1-f32b344d4795}\r\n"
          L"timeout                 0\r\n") +
    Block(L"Windows Boot Manager", L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}",
          L"device                  partition=\\Device\\HarddiskVolume1\r\n"
          L"path                    \\EFI\\Microsoft\\Boot\\bootmgfw.efi\r\n"
          L"description             Windows Boot Manager\r\n"
          L"locale                  en-US\r\n"
          L"inherit                 {7ea2e1ac-2e61-4728-aaa3-896d9d0a9f0e}\r\n"
          L"default                 {3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
          L"resumeobject            {3c7a8b2d-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
          L"displayorder            {3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
          L"                        {5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}\r\n"
          L"                        {b2721d73-1db4-4c62-bf78-c548a880142d}\r\n"
          L"toolsdisplayorder       {b2721d73-1db4-4c62-bf78-c548a880142d}\r\n"
          L"timeout                 30\r\n") +
    Block(L"Windows Boot Loader", L"{3c7a8b2e-0b1c-11ef-9c2a-806e6f6e6963}",
          L"device                  partition=C:\r\n"
          L"path                    \\Windows\\system32\\winload.efi\r\n"
          L"description             Windows 11\r\n"
          L"locale                  en-US\r\n"
          L"recoverysequence        {3c7a8b30-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
          L"osdevice                partition=C:\r\n"
          L"systemroot              \\Windows\r\n"
          L"bootmenupolicy          Standard\r\n") +
    Block(L"Windows Boot Loader", L"{5e1f0a10-2b3c-4d5e-8f90-a1b2c3d4e5f6}",
          L"device                  ramdisk=[D:]\\sources\\boot.wim,{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}\r\n"
          L"path                    \\windows\\system32\\boot\\winload.efi\r\n"
          L"description             WinPE Rescue\r\n"
          L"osdevice                ramdisk=[D:]\\sources\\boot.wim,{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}\r\n"
          L"systemroot              \\windows\r\n"
          L"bootmenupolicy          Legacy\r\n"
          L"winpe                   Yes\r\n") +
    Block(L"Device options", L"{0d2e4f61-7a8b-4c9d-a0b1-c2d3e4f5a6b7}",
          L"description             Ramdisk Options\r\n"
          L"ramdisksdidevice        partition=D:\r\n"
          L"ramdisksdipath          \\boot\\boot.sdi\r\n") +
    Block(L"Windows Memory Tester", L"{b2721d73-1db4-4c62-bf78-c548a880142d}",
          L"device                  partition=\\Device\\HarddiskVolume1\r\n"
          L"path                    \\EFI\\Microsoft\\Boot\\memtest.efi\r\n"
          L"description             Windows Memory Diagnostic\r\n") +
    Block(L"Resume from Hibernate", L"{3c7a8b2d-0b1c-11ef-9c2a-806e6f6e6963}",
          L"device                  partition=C:\r\n"
          L"path                    \\Windows\\system32\\winresume.efi\r\n"
          L"description             Windows Resume Application\r\n") +
    Block(L"Windows Boot Loader", L"{3c7a8b30-0b1c-11ef-9c2a-806e6f6e6963}",
          L"device                  ramdisk=[\\Device\\HarddiskVolume4]\\Recovery\\WindowsRE\\Winre.wim,"
          L"{3c7a8b31-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
          L"path                    \\windows\\system32\\winload.efi\r\n"
          L"description             Windows Recovery Environment\r\n"
          L"winpe                   Yes\r\n");

}  // namespace zel::test
