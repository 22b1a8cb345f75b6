#pragma once
// ZIP archives as the simulated tar reads and writes them: members stored
// without compression, each with a local header, its bytes, and a central
// directory entry, then the end record. Works on bytes in memory only; the
// caller reads and writes files. Any name can be written, including ones a
// safe extractor must refuse, so that tests can craft hostile archives.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim::zip {

// MS-DOS date and time as ZIP keeps them: local time, two-second steps.
struct DosTime {
  uint16_t time = 0;
  uint16_t date = (0 << 9) | (1 << 5) | 1;  // 1980-01-01, the earliest it can say

  bool operator==(const DosTime&) const = default;
};

// Years before 1980 give 1980-01-01 and after 2107 the last day it can hold.
DosTime MakeDosTime(int year, int month, int day, int hour, int minute, int second);

// The CRC-32 of ZIP (polynomial 0xEDB88320, initial and final inversion).
uint32_t Crc32(std::string_view bytes);

struct Entry {
  std::string name;  // as stored: UTF-8, '/' between steps; a folder ends with '/'
  std::string data;  // a folder has none
  DosTime modified;

  bool IsFolder() const { return !name.empty() && name.back() == '/'; }
  bool operator==(const Entry&) const = default;
};

class Writer {
 public:
  // Appends one member with exactly this name and these bytes; no name is
  // refused. False, with nothing appended, when the archive would need ZIP64
  // (4 GiB of data or more than 65534 members), which this writer does not produce.
  bool Add(const Entry& entry);
  // The whole archive: the members added so far, the central directory and
  // the end record. The writer may keep being used afterwards.
  std::string Finish() const;

 private:
  std::string members_;
  std::string directory_;
  uint16_t count_ = 0;
};

// Reads every member of an archive in central-directory order, checking each
// local header and CRC. False with a reason in `error` for anything that is
// not a ZIP this reader understands (compressed, encrypted or ZIP64 members
// included); `entries` is then left untouched.
bool Read(std::string_view archive, std::vector<Entry>& entries, std::string& error);

}  // namespace sim::zip
