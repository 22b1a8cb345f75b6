// zq-bcdedit-sim: the simulated bcdedit on the developer's machine.
//   zq-bcdedit-sim SYSTEM-STORE-FILE bcdedit-arguments...
// e.g.  zq-bcdedit-sim sim/stores/uefi-win11.txt /enum all /v
// Prints what bcdedit.exe would print (UTF-8, CR LF) and exits with its code.
#include <cstdio>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/utf8.h"
#include "sim/bcdedit/commands.h"
#include "sim/bcdedit/store.h"
#include "sim/common/file_io.h"

namespace {

// A store that fails to load gets only the terse bcdedit message; tell the
// developer which line is wrong as well.
void ExplainBadStore(const std::wstring& path) {
  std::string bytes;
  sim::BcdStore store;
  std::wstring error;
  if (sim::ReadWholeFile(path, bytes) && !sim::LoadStore(bytes, store, error)) {
    std::fprintf(stderr, "zq-bcdedit-sim: %s: %s\n", zel::WideToUtf8(path).c_str(),
                 zel::WideToUtf8(error).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zq-bcdedit-sim SYSTEM-STORE-FILE [bcdedit arguments...]\n");
    return 2;
  }
  std::vector<std::wstring> args;
  for (int i = 2; i < argc; ++i) args.push_back(zel::Utf8ToWide(argv[i]));

  sim::StoreFiles files;
  files.systemStorePath = zel::Utf8ToWide(argv[1]);
  files.read = sim::ReadWholeFile;
  files.write = sim::WriteFileSafely;
  const sim::Outcome outcome = sim::ExecuteBcdedit(args, files);

  const std::string text = zel::WideToUtf8(outcome.output);
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (outcome.exitCode != 0) {
    const bool fileStore = args.size() >= 2 && zel::EqualsNoCase(args[0], L"/store");
    ExplainBadStore(fileStore ? args[1] : files.systemStorePath);
  }
  return outcome.exitCode;
}
