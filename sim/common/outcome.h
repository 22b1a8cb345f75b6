#pragma once
// What one simulated tool invocation produced: its exit code and everything it prints.
#include <string>

namespace sim {

struct Outcome {
  int exitCode = 0;
  std::wstring output;  // CR LF line ends, as a Windows console tool prints
};

}  // namespace sim
