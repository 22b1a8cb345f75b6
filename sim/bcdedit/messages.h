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

inline constexpr std::wstring_view kUnsupportedType =
    L"This enumeration type is not simulated; use all, active or an identifier.\r\n"
    L"The request is not supported.\r\n";

}  // namespace sim::messages
