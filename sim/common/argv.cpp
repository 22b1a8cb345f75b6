#include "sim/common/argv.h"

namespace sim {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

size_t SkipBlanks(std::wstring_view text, size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

// Reads one argument starting at `i` (not a blank); returns the index after it.
size_t ReadArgument(std::wstring_view text, size_t i, std::wstring& arg) {
  bool quoted = false;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c == L'\\') {
      size_t end = i;
      while (end < text.size() && text[end] == L'\\') ++end;
      const size_t count = end - i;
      if (end < text.size() && text[end] == L'"') {
        arg.append(count / 2, L'\\');
        if (count % 2 == 1) {
          arg.push_back(L'"');
          ++end;  // the escaped quote is consumed here
        }
        // With an even count the quote is left for the next round, where it delimits.
      } else {
        arg.append(count, L'\\');
      }
      i = end;
    } else if (c == L'"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
        arg.push_back(L'"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      arg.push_back(c);
      ++i;
    }
  }
  return i;
}

}  // namespace

std::vector<std::wstring> SplitArguments(std::wstring_view text) {
  std::vector<std::wstring> args;
  for (size_t i = SkipBlanks(text, 0); i < text.size(); i = SkipBlanks(text, i)) {
    std::wstring arg;
    i = ReadArgument(text, i, arg);
    args.push_back(std::move(arg));
  }
  return args;
}

std::wstring StripProgramToken(std::wstring_view commandLine) {
  // The runtime reads the program name with quotes toggling and no escapes,
  // since a path cannot contain a quote but may end in a backslash.
  bool quoted = false;
  size_t i = 0;
  for (; i < commandLine.size(); ++i) {
    const wchar_t c = commandLine[i];
    if (c == L'"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      break;
    }
  }
  return std::wstring(commandLine.substr(SkipBlanks(commandLine, i)));
}

}  // namespace sim
