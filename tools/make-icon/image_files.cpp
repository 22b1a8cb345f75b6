#include "tools/make-icon/image_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace zq_icon {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}
void Put32BigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// AND-mask rows are 1 bit per pixel padded to whole 32-bit words.
size_t MaskStride(int side) { return static_cast<size_t>((side + 31) / 32) * 4; }

// BITMAPINFOHEADER (height doubled: colour rows, then mask rows), the colour
// pixels bottom-up as BGRA, then the AND mask bottom-up (1 = transparent, for
// readers that ignore the alpha channel).
std::vector<uint8_t> EncodeIconBitmap(const IconImage& image) {
  const int n = image.side;
  const size_t stride = MaskStride(n);
  const uint32_t imageBytes = static_cast<uint32_t>(static_cast<size_t>(n) * n * 4 + stride * n);
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(n));
  Put32(out, static_cast<uint32_t>(2 * n));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, imageBytes);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and palette: unused
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) Put32(out, image.argb[static_cast<size_t>(y) * n + x]);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < n; ++x) {
      if ((image.argb[static_cast<size_t>(y) * n + x] >> 24) == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of "stored" deflate blocks (at most 65535 bytes each).
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t pos = 0;
  do {
    const size_t len = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + len == raw.size();
    out.push_back(last ? 1 : 0);
    Put16(out, static_cast<uint32_t>(len));
    Put16(out, static_cast<uint32_t>(~len & 0xFFFFu));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
               raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
    pos += len;
  } while (pos < raw.size());
  Put32BigEndian(out, Adler32(raw.data(), raw.size()));
  return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // type: icon
  Put16(out, static_cast<uint32_t>(images.size()));
  std::vector<std::vector<uint8_t>> bitmaps;
  for (const IconImage& image : images) bitmaps.push_back(EncodeIconBitmap(image));

  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int n = images[i].side;
    out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));  // width
    out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));  // height
    out.push_back(0);                                       // palette colours
    out.push_back(0);                                       // reserved
    Put16(out, 1);                                          // planes
    Put16(out, 32);                                         // bits per pixel
    Put32(out, static_cast<uint32_t>(bitmaps[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(bitmaps[i].size());
  }
  for (const auto& bitmap : bitmaps) out.insert(out.end(), bitmap.begin(), bitmap.end());
  return out;
}

std::vector<uint8_t> EncodePng(const IconImage& image) {
  const int n = image.side;
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::vector<uint8_t> header;
  Put32BigEndian(header, static_cast<uint32_t>(n));
  Put32BigEndian(header, static_cast<uint32_t>(n));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, deflate, no filter, no interlace
  PutChunk(out, "IHDR", header);

  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(n) * (4 * n + 1));
  for (int y = 0; y < n; ++y) {
    raw.push_back(0);  // filter type: none
    for (int x = 0; x < n; ++x) {
      const uint32_t p = image.argb[static_cast<size_t>(y) * n + x];
      raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                             static_cast<uint8_t>(p >> 24)});
    }
  }
  PutChunk(out, "IDAT", ZlibStored(raw));
  PutChunk(out, "IEND", {});
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace zq_icon
