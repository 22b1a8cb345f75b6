#pragma once
// UTF-8 <-> wide text for files we own (sample stores, settings, logs).
// Tool output is never UTF-8: it is decoded from the OEM code page instead.
#include <string>
#include <string_view>

namespace zel {

// Invalid or truncated sequences become U+FFFD; never fails.
std::wstring Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);

}  // namespace zel
