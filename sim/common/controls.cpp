#include "sim/common/controls.h"

namespace sim {
namespace {

constexpr unsigned kMaxDelayMs = 10 * 60 * 1000;

}  // namespace

std::wstring LogLineText(std::wstring_view tool, std::wstring_view argumentText) {
  std::wstring line(tool);
  line.push_back(L' ');
  line.append(argumentText);
  return line;
}

bool ShouldFail(const Controls& controls, std::wstring_view logLine) {
  return !controls.failText.empty() && logLine.find(controls.failText) != std::wstring_view::npos;
}

unsigned DelayFor(const Controls& controls, std::wstring_view logLine) {
  if (!controls.delayMatch.empty() && logLine.find(controls.delayMatch) == std::wstring_view::npos) return 0;
  return controls.delayMs;
}

unsigned ParseDelayMs(std::wstring_view text) {
  size_t first = text.find_first_not_of(L" \t");
  size_t last = text.find_last_not_of(L" \t");
  if (first == std::wstring_view::npos) return 0;
  unsigned long long value = 0;
  for (size_t i = first; i <= last; ++i) {
    const wchar_t c = text[i];
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + static_cast<unsigned>(c - L'0');
    if (value > kMaxDelayMs) return kMaxDelayMs;
  }
  return static_cast<unsigned>(value);
}

Outcome SimulatedFailure() {
  return {1, L"An error occurred while running the command (simulated failure).\r\n"
             L"The request is not supported.\r\n"};
}

}  // namespace sim
