#pragma once
// Just enough JSON output for a snapshot: objects, arrays, strings, numbers, booleans.
#include <string>

namespace zq {

// A quoted JSON string (UTF-8) for wide text; control characters are escaped.
std::string JsonString(const std::wstring& text);

}  // namespace zq
