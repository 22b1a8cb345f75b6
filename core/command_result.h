#pragma once
#include <cstdint>
#include <string>

namespace zel {

// Outcome of one external tool run.
struct CommandResult {
  int32_t exitCode = -1;  // -1: no process ran or its code could not be read; 2 after a time-out
  bool timedOut = false;
  std::wstring output;       // stdout and stderr interleaved, decoded, trailing line ends removed
  std::wstring commandLine;  // display form: "program" arguments

  bool Succeeded() const { return exitCode == 0 && !timedOut; }
};

}  // namespace zel
