#pragma once
// bcdedit's answers to failures, worded as the tool words them. Each ends in
// CR LF; a failing run prints only its message and exits with code 1.
#include <string_view>

namespace sim::messages {

inline constexpr std::wstring_view kStoreNotFound =
    L"The boot configuration data store could not be opened.\r\n"
    L"The system cannot find the file specified.\r\n";

inline constexpr std::wstring_view kStoreCorrupt =
    L"The boot configuration data store could not be opened.\r\n"
    L"The configuration registry database is corrupt.\r\n";

inline constexpr std::wstring_view kStoreNotWritten =
    L"An error occurred while attempting to write the boot configuration data store.\r\n"
    L"Access is denied.\r\n";

inline constexpr std::wstring_view kUnknownCommand =
    L"The specified command is not valid.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadOptions =
    L"The options specified for this command are not valid.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadIdentifier =
    L"The entry identifier specified is not valid.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kEntryNotFound =
    L"The specified entry identifier was not found in the store.\r\n"
    L"The system cannot find the file specified.\r\n";

inline constexpr std::wstring_view kNoMatchingObjects =
    L"There are no matching objects or the store is empty.\r\n";

inline constexpr std::wstring_view kSuccess = L"The operation completed successfully.\r\n";

inline constexpr std::wstring_view kBadSetCommand =
    L"The set command specified is not valid.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadDeleteValueCommand =
    L"The delete value command specified is not valid.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

// /deletevalue of an element the object does not hold.
inline constexpr std::wstring_view kValueNotSet =
    L"An error has occurred setting the element data.\r\n"
    L"Element not found.\r\n";

// A list of the firmware boot manager naming an object the firmware cannot start.
inline constexpr std::wstring_view kNotFirmwareApplication =
    L"An error has occurred setting the element data.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadElement =
    L"The element data type specified is not recognized, or does not apply to the specified entry.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"Element not found.\r\n";

inline constexpr std::wstring_view kBadInteger =
    L"The integer data is not valid as specified.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadBoolean =
    L"The boolean data is not valid as specified.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadValue =
    L"The value specified is not valid for this element.\r\n"
    L"Run \"bcdedit /?\" for command line assistance.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kBadDevice =
    L"An error occurred while attempting to reference the specified device.\r\n"
    L"The parameter is incorrect.\r\n";

inline constexpr std::wstring_view kNeedsForce =
    L"An error occurred while attempting to delete the specified entry.\r\n"
    L"The entry has a well-known identifier; use /f to delete it.\r\n";

inline constexpr std::wstring_view kEntryExists =
    L"An error occurred while attempting to create the specified entry.\r\n"
    L"Cannot create a file when that file already exists.\r\n";

inline constexpr std::wstring_view kStoreFileExists =
    L"The store creation operation has failed.\r\n"
    L"The file exists.\r\n";

inline constexpr std::wstring_view kStoreNotCreated =
    L"The store creation operation has failed.\r\n"
    L"The system cannot find the path specified.\r\n";

inline constexpr std::wstring_view kExportFailed =
    L"The export operation has failed.\r\n"
    L"The system cannot find the path specified.\r\n";

inline constexpr std::wstring_view kImportNotFound =
    L"The import operation has failed.\r\n"
    L"The system cannot find the file specified.\r\n";

inline constexpr std::wstring_view kImportCorrupt =
    L"The import operation has failed.\r\n"
    L"The configuration registry database is corrupt.\r\n";

inline constexpr std::wstring_view kUnsupportedType =
    L"This enumeration type is not simulated; use all, active, firmware or an identifier.\r\n"
    L"The request is not supported.\r\n";

}  // namespace sim::messages
