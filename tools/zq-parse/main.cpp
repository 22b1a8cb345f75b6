// zq-parse: runs the store parser over saved bcdedit output and prints the
// snapshot as JSON, so the parser can be checked against real machines' output.
//   zq-parse LISTING [--default FILE] [--current FILE]     (a FILE of - is stdin)
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/bcd_parser.h"
#include "core/text.h"
#include "core/utf8.h"
#include "tools/zq-parse/json_writer.h"

namespace {

bool ReadAll(const std::string& name, std::string& bytes) {
  if (name == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream file(name, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

const char* SafeBootName(zel::SafeBoot mode) {
  switch (mode) {
    case zel::SafeBoot::Minimal:
      return "\"Minimal\"";
    case zel::SafeBoot::Network:
      return "\"Network\"";
    case zel::SafeBoot::DsRepair:
      return "\"DsRepair\"";
    case zel::SafeBoot::Off:
      break;
  }
  return "null";
}

void PrintOptions(std::ostream& out, const zel::BootOptions& o) {
  out << "{\"safeBoot\": " << SafeBootName(o.safeBoot) << ", \"alternateShell\": " << Bool(o.alternateShell)
      << ", \"bootLog\": " << Bool(o.bootLog) << ", \"baseVideo\": " << Bool(o.baseVideo)
      << ", \"quietBoot\": " << Bool(o.quietBoot) << ", \"sos\": " << Bool(o.sos)
      << ", \"testSigning\": " << Bool(o.testSigning) << ", \"noIntegrityChecks\": " << Bool(o.noIntegrityChecks)
      << ", \"recoveryDisabled\": " << Bool(o.recoveryDisabled)
      << ", \"bootStatusPolicy\": " << zq::JsonString(o.bootStatusPolicy)
      << ", \"advancedOptions\": " << Bool(o.advancedOptions)
      << ", \"oneTimeAdvancedOptions\": " << Bool(o.oneTimeAdvancedOptions) << "}";
}

void PrintEntry(std::ostream& out, const zel::BootEntry& e) {
  using zq::JsonString;
  out << "    {\"identifier\": " << JsonString(e.identifier) << ", \"description\": " << JsonString(e.description)
      << ", \"device\": " << JsonString(e.device) << ", \"osDevice\": " << JsonString(e.osDevice)
      << ", \"path\": " << JsonString(e.path) << ", \"bootMenuPolicy\": " << JsonString(e.bootMenuPolicy)
      << ", \"isWinPe\": " << Bool(e.isWinPe) << ", \"isWindows\": " << Bool(e.isWindows)
      << ", \"isDefault\": " << Bool(e.isDefault) << ", \"isCurrent\": " << Bool(e.isCurrent)
      << ", \"isBootSequence\": " << Bool(e.isBootSequence) << ", \"inDisplayOrder\": " << Bool(e.inDisplayOrder)
      << ", \"displayOrderIndex\": " << e.displayOrderIndex << ", \"options\": ";
  PrintOptions(out, e.options);
  out << "}";
}

void PrintSnapshot(std::ostream& out, const zel::BcdSnapshot& s) {
  using zq::JsonString;
  out << "{\n  \"loaded\": " << Bool(s.loaded) << ",\n  \"timeoutSeconds\": " << s.timeoutSeconds
      << ",\n  \"displayBootMenu\": " << Bool(s.displayBootMenu) << ",\n  \"defaultId\": " << JsonString(s.defaultId)
      << ",\n  \"currentId\": " << JsonString(s.currentId)
      << ",\n  \"bootSequenceId\": " << JsonString(s.bootSequenceId) << ",\n  \"displayOrder\": [";
  for (size_t i = 0; i < s.displayOrder.size(); ++i) out << (i ? ", " : "") << JsonString(s.displayOrder[i]);
  out << "],\n  \"entries\": [";
  for (size_t i = 0; i < s.entries.size(); ++i) {
    out << (i ? ",\n" : "\n");
    PrintEntry(out, s.entries[i]);
  }
  out << (s.entries.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

int Usage() {
  std::cerr << "usage: zq-parse LISTING [--default FILE] [--current FILE]   (FILE - reads standard input)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string listingFile, defaultFile, currentFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--default" || arg == "--current") && i + 1 < argc) {
      (arg == "--default" ? defaultFile : currentFile) = argv[++i];
    } else if (listingFile.empty() && (arg == "-" || arg.rfind("--", 0) != 0)) {
      listingFile = arg;
    } else {
      return Usage();
    }
  }
  if (listingFile.empty()) return Usage();

  // As after a successful load: the listing ran, and so did {default} and {current} when given.
  zel::BcdSnapshot snapshot;
  snapshot.loaded = true;
  for (auto [name, target] : {std::pair{&defaultFile, &snapshot.defaultId}, std::pair{&currentFile, &snapshot.currentId}}) {
    if (name->empty()) continue;
    std::string bytes;
    if (!ReadAll(*name, bytes)) {
      std::cerr << "zq-parse: cannot read " << *name << "\n";
      return 1;
    }
    *target = zel::FirstGuid(zel::Utf8ToWide(bytes));
  }
  std::string listing;
  if (!ReadAll(listingFile, listing)) {
    std::cerr << "zq-parse: cannot read " << listingFile << "\n";
    return 1;
  }
  snapshot.rawText = zel::Utf8ToWide(listing);
  zel::ParseListing(snapshot.rawText, snapshot);
  PrintSnapshot(std::cout, snapshot);
  return 0;
}
