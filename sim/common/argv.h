#pragma once
// Command-line splitting as a Windows program's C runtime does it. Every
// simulated tool receives its raw argument text, logs it verbatim, and splits
// it here, so the quoting our program produces is checked the way Windows
// will read it.
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Splits an argument text into arguments by the Microsoft C runtime rules:
// blanks and tabs separate; double quotes group and are dropped; 2n
// backslashes before a quote give n backslashes and the quote delimits; 2n+1
// give n backslashes and a literal quote; other backslashes are literal; two
// quotes in a row inside a quoted part give one literal quote.
std::vector<std::wstring> SplitArguments(std::wstring_view text);

// The argument text of a full GetCommandLineW() text: the program token
// (quoted or not, where backslashes never escape) and the blanks after it removed.
std::wstring StripProgramToken(std::wstring_view commandLine);

}  // namespace sim
