#pragma once
// Stateless text helpers for building command lines and reading tool output.
// Case folding is ASCII-only and locale-independent: the texts compared here
// (element names, GUIDs, yes/no words) are ASCII, and both build trees must agree.
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

// Removes leading and trailing blanks, tabs, CR and LF.
std::wstring Trim(const std::wstring& text);
wchar_t ToLowerChar(wchar_t c);
std::wstring ToLower(const std::wstring& text);
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
bool ContainsNoCase(const std::vector<std::wstring>& list, const std::wstring& item);
// Base-10 like the standard string-to-int conversion: leading blanks, a sign, digits up
// to the first non-digit. False when no digit starts it or it leaves the 32-bit range.
bool ParseInt32(const std::wstring& text, int32_t& value);
// Splits at LF; a final line without LF is kept, a trailing LF adds no empty line,
// and one trailing CR is removed from each line.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// Finds the first brace GUID (8-4-4-4-12 hex) at or after `start`; lower-cased.
bool ExtractGuid(const std::wstring& text, size_t start, std::wstring& guid);
std::wstring FirstGuid(const std::wstring& text);

// Makes a typed description safe to put between double quotes on a bcdedit
// command line: quotes become apostrophes, control characters blanks, and
// trailing backslashes (which would escape the closing quote) go. May be empty.
std::wstring SanitizeDescription(const std::wstring& text);

// "E:" for a path that starts with a drive, else empty.
std::wstring DrivePrefix(const std::wstring& path);
// "e", "e:", "E:\" -> "E:"; anything longer is trimmed of blanks and trailing separators.
std::wstring NormalizeDriveRoot(const std::wstring& text);

}  // namespace zel
