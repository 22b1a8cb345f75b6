#include "sim/tar/zip.h"

#include <algorithm>
#include <array>

namespace sim::zip {
namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kLocalSize = 30;
constexpr size_t kCentralSize = 46;
constexpr size_t kEndSize = 22;
constexpr uint16_t kUtf8NameFlag = 1 << 11;
constexpr uint16_t kEncryptedFlag = 1 << 0;
// Made on "Unix", format 2.0: Info-ZIP's unzip recodes names from hosts that
// keep FAT attributes as if they were in the OEM code page, which garbles
// UTF-8 names; the MS-DOS attributes still sit in the low byte for Windows.
constexpr uint16_t kMadeByUnix20 = (3 << 8) | 20;
constexpr uint32_t kFolderAttributes = (040755u << 16) | 0x10;
constexpr uint32_t kFileAttributes = (0100644u << 16) | 0x20;

std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

void Put16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<uint16_t>(value >> 16));
}

uint16_t Get16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}

uint32_t Get32(std::string_view bytes, size_t at) {
  return Get16(bytes, at) | static_cast<uint32_t>(Get16(bytes, at + 2)) << 16;
}

// Readers that honour bit 11 show non-ASCII names correctly; pure ASCII needs no flag.
uint16_t NameFlags(std::string_view name) {
  const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
  return ascii ? 0 : kUtf8NameFlag;
}

// Fields common to the local header and the central directory entry, from "version needed" on.
void PutCommonFields(std::string& out, const Entry& entry, uint32_t crc) {
  Put16(out, entry.IsFolder() ? 20 : 10);  // 2.0 for folders, as other writers mark them
  Put16(out, NameFlags(entry.name));
  Put16(out, 0);  // stored
  Put16(out, entry.modified.time);
  Put16(out, entry.modified.date);
  Put32(out, crc);
  Put32(out, static_cast<uint32_t>(entry.data.size()));
  Put32(out, static_cast<uint32_t>(entry.data.size()));
  Put16(out, static_cast<uint16_t>(entry.name.size()));
  Put16(out, 0);  // no extra field
}

// Reads the member that the central directory entry at `at` describes.
bool ReadMember(std::string_view archive, size_t at, Entry& entry, std::string& error) {
  const uint16_t flags = Get16(archive, at + 8);
  const uint16_t method = Get16(archive, at + 10);
  const uint32_t crc = Get32(archive, at + 16);
  const uint32_t packed = Get32(archive, at + 20);
  const uint32_t size = Get32(archive, at + 24);
  const size_t nameLength = Get16(archive, at + 28);
  const size_t local = Get32(archive, at + 42);
  entry.name.assign(archive.substr(at + kCentralSize, nameLength));
  entry.modified = {Get16(archive, at + 12), Get16(archive, at + 14)};
  const std::string quoted = "'" + entry.name + "'";
  if (flags & kEncryptedFlag) return error = quoted + " is encrypted", false;
  if (method != 0) return error = quoted + " is compressed (method " + std::to_string(method) + ")", false;
  if (packed == 0xFFFFFFFFu || size == 0xFFFFFFFFu || local == 0xFFFFFFFFu) {
    return error = quoted + " needs ZIP64", false;
  }
  if (packed != size) return error = quoted + " is stored with two different sizes", false;
  if (local > archive.size() || archive.size() - local < kLocalSize || Get32(archive, local) != kLocalSignature) {
    return error = quoted + " has no local header", false;
  }
  const size_t data = local + kLocalSize + Get16(archive, local + 26) + Get16(archive, local + 28);
  if (data > archive.size() || archive.size() - data < size) return error = quoted + " is truncated", false;
  entry.data.assign(archive.substr(data, size));
  if (Crc32(entry.data) != crc) return error = quoted + " fails its CRC check", false;
  return true;
}

// The end record is the last 22 bytes unless the archive has a comment; then
// it is the last signature whose comment reaches exactly to the end.
size_t FindEndRecord(std::string_view archive) {
  if (archive.size() < kEndSize) return std::string_view::npos;
  const size_t lowest = archive.size() > kEndSize + 0xFFFF ? archive.size() - kEndSize - 0xFFFF : 0;
  for (size_t at = archive.size() - kEndSize + 1; at-- > lowest;) {
    if (Get32(archive, at) == kEndSignature && at + kEndSize + Get16(archive, at + 20) == archive.size()) {
      return at;
    }
  }
  return std::string_view::npos;
}

}  // namespace

DosTime MakeDosTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return {};
  if (year > 2107) return {static_cast<uint16_t>((23 << 11) | (59 << 5) | 29),
                           static_cast<uint16_t>((127 << 9) | (12 << 5) | 31)};
  return {static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2)),
          static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day)};
}

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = MakeCrcTable();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

bool Writer::Add(const Entry& entry) {
  const size_t localOffset = members_.size();
  const uint64_t end = static_cast<uint64_t>(localOffset) + kLocalSize + entry.name.size() + entry.data.size();
  const uint64_t directoryEnd = end + directory_.size() + kCentralSize + entry.name.size();
  if (count_ == 0xFFFE || entry.name.size() > 0xFFFF || directoryEnd >= 0xFFFFFFFFu) return false;
  const uint32_t crc = Crc32(entry.data);

  Put32(members_, kLocalSignature);
  PutCommonFields(members_, entry, crc);
  members_ += entry.name;
  members_ += entry.data;

  Put32(directory_, kCentralSignature);
  Put16(directory_, kMadeByUnix20);
  PutCommonFields(directory_, entry, crc);
  Put16(directory_, 0);  // comment length
  Put16(directory_, 0);  // disk number
  Put16(directory_, 0);  // internal attributes
  Put32(directory_, entry.IsFolder() ? kFolderAttributes : kFileAttributes);
  Put32(directory_, static_cast<uint32_t>(localOffset));
  directory_ += entry.name;
  ++count_;
  return true;
}

std::string Writer::Finish() const {
  std::string archive = members_ + directory_;
  Put32(archive, kEndSignature);
  Put16(archive, 0);  // this disk
  Put16(archive, 0);  // disk of the central directory
  Put16(archive, count_);
  Put16(archive, count_);
  Put32(archive, static_cast<uint32_t>(directory_.size()));
  Put32(archive, static_cast<uint32_t>(members_.size()));
  Put16(archive, 0);  // comment length
  return archive;
}

bool Read(std::string_view archive, std::vector<Entry>& entries, std::string& error) {
  const size_t end = FindEndRecord(archive);
  if (end == std::string_view::npos) return error = "Unrecognized archive format", false;
  if (Get16(archive, end + 4) != 0 || Get16(archive, end + 6) != 0) return error = "spans several disks", false;
  const size_t count = Get16(archive, end + 10);
  const size_t directorySize = Get32(archive, end + 12);
  const size_t directory = Get32(archive, end + 16);
  if (count == 0xFFFF || directory == 0xFFFFFFFFu) return error = "needs ZIP64", false;
  if (directory > end || end - directory < directorySize) return error = "central directory out of bounds", false;

  std::vector<Entry> read;
  size_t at = directory;
  for (size_t i = 0; i < count; ++i) {
    if (directory + directorySize - at < kCentralSize || Get32(archive, at) != kCentralSignature) {
      return error = "central directory entry " + std::to_string(i + 1) + " is damaged", false;
    }
    const size_t length = kCentralSize + Get16(archive, at + 28) + Get16(archive, at + 30) + Get16(archive, at + 32);
    if (directory + directorySize - at < length) {
      return error = "central directory entry " + std::to_string(i + 1) + " is truncated", false;
    }
    Entry entry;
    if (!ReadMember(archive, at, entry, error)) return false;
    read.push_back(std::move(entry));
    at += length;
  }
  entries = std::move(read);
  return true;
}

}  // namespace sim::zip
