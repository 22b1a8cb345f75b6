#include <climits>
#include <cstdint>

#include "app/actions.h"
#include "core/text.h"

namespace app {

bool ParseTimeoutText(const std::wstring& text, int& seconds) {
  const std::wstring trimmed = zel::Trim(text);
  size_t i = 0;
  while (i < trimmed.size() && (trimmed[i] == L' ' || trimmed[i] == L'\t')) ++i;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == L'+' || trimmed[i] == L'-')) negative = trimmed[i++] == L'-';
  if (i >= trimmed.size() || trimmed[i] < L'0' || trimmed[i] > L'9') return false;
  int64_t value = 0;
  for (; i < trimmed.size() && trimmed[i] >= L'0' && trimmed[i] <= L'9'; ++i) {
    value = value * 10 + (trimmed[i] - L'0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) return false;  // outside the 32-bit range
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  // Taken as unsigned, a negative value is huge: only 0..3600 pass.
  if (static_cast<uint32_t>(static_cast<int32_t>(value)) > 3600u) return false;
  seconds = static_cast<int>(value);
  return true;
}

}  // namespace app
