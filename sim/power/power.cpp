#include "sim/power/power.h"

#include "core/text.h"

namespace sim {
namespace {

constexpr std::wstring_view kWpeutilUsage =
    L"Usage: wpeutil Reboot | Shutdown\r\n"
    L"This simulated wpeutil knows only these commands; it never restarts anything.\r\n";

constexpr std::wstring_view kShutdownUsage =
    L"Usage: shutdown [/s | /r] [/fw] [/t xxx]\r\n"
    L"\r\n"
    L"    /s         Shutdown the computer.\r\n"
    L"    /r         Full shutdown and restart the computer.\r\n"
    L"    /fw        Combine with a shutdown option to cause the next boot to go to the\r\n"
    L"               firmware user interface.\r\n"
    L"    /t xxx     Set the time-out period before shutdown to xxx seconds.\r\n"
    L"               The valid range is 0-315360000 (10 years).\r\n"
    L"\r\n"
    L"This simulated shutdown only records the request; it never stops the computer.\r\n";

constexpr unsigned long kMaxTimeoutSeconds = 315360000;

bool ParseSeconds(const std::wstring& text, unsigned long& seconds) {
  if (text.empty() || text.size() > 9) return false;
  seconds = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    seconds = seconds * 10 + static_cast<unsigned long>(c - L'0');
  }
  return seconds <= kMaxTimeoutSeconds;
}

bool AcceptShutdown(const std::vector<std::wstring>& args) {
  bool restart = false, stop = false, firmware = false, timed = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg.size() < 2 || (arg[0] != L'/' && arg[0] != L'-')) return false;
    const std::wstring name = zel::ToLower(arg.substr(1));
    bool* seen = name == L"r" ? &restart : name == L"s" ? &stop : name == L"fw" ? &firmware : name == L"t" ? &timed : nullptr;
    if (seen == nullptr || *seen) return false;
    *seen = true;
    unsigned long seconds = 0;
    if (seen == &timed && (++i == args.size() || !ParseSeconds(args[i], seconds))) return false;
  }
  return restart != stop;
}

}  // namespace

Outcome ExecuteWpeutil(const std::vector<std::wstring>& args) {
  if (args.size() == 1 && (zel::EqualsNoCase(args[0], L"Reboot") || zel::EqualsNoCase(args[0], L"Shutdown"))) {
    return {0, L""};
  }
  return {1, std::wstring(kWpeutilUsage)};
}

Outcome ExecuteShutdown(const std::vector<std::wstring>& args) {
  if (AcceptShutdown(args)) return {0, L""};
  return {1, std::wstring(kShutdownUsage)};
}

}  // namespace sim
