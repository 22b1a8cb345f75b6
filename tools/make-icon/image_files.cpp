#include "tools/make-icon/image_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

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

// Deflate bits go out least significant first; Huffman codes most significant first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1u);
  }
  void Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1u);
  }
  void Flush() {
    if (used_ != 0) out_.push_back(pending_);
    pending_ = 0;
    used_ = 0;
  }

 private:
  void Bit(uint32_t bit) {
    pending_ |= static_cast<uint8_t>(bit << used_);
    if (++used_ == 8) Flush();
  }
  std::vector<uint8_t>& out_;
  uint8_t pending_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void PutLiteral(BitWriter& bits, int symbol) {
  if (symbol < 144) bits.Code(0x30 + symbol, 8);
  else if (symbol < 256) bits.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280) bits.Code(symbol - 256, 7);
  else bits.Code(0xC0 + symbol - 280, 8);
}

constexpr int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[] = {1,   2,   3,   4,   5,    7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                 193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  PutLiteral(bits, 257 + l);
  bits.Bits(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistanceBase[d] > distance) --d;
  bits.Code(static_cast<uint32_t>(d), 5);
  bits.Bits(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// PNG's Paeth predictor: whichever of left, above and upper-left is nearest a + b - c.
uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

// One fixed-Huffman block; matches found through hash chains over the last 32 KB.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw) {
  constexpr int kWindow = 32768, kMaxChain = 64, kMinMatch = 3, kMaxMatch = 258;
  std::vector<uint8_t> out = {0x78, 0x01};
  BitWriter bits(out);
  bits.Bits(1, 1);  // the last block
  bits.Bits(1, 2);  // fixed Huffman codes
  std::vector<int> head(1 << 15, -1), previous(raw.size(), -1);
  const auto hash = [&](size_t i) {
    return ((raw[i] << 10) ^ (raw[i + 1] << 5) ^ raw[i + 2]) & 0x7FFF;
  };
  const auto insert = [&](size_t i) {
    if (i + kMinMatch > raw.size()) return;
    const int h = hash(i);
    previous[i] = head[h];
    head[h] = static_cast<int>(i);
  };
  size_t i = 0;
  while (i < raw.size()) {
    int bestLength = 0, bestDistance = 0;
    if (i + kMinMatch <= raw.size()) {
      const size_t limit = std::min<size_t>(kMaxMatch, raw.size() - i);
      int candidate = head[hash(i)];
      for (int chain = 0; candidate >= 0 && i - candidate <= kWindow && chain < kMaxChain; ++chain) {
        size_t n = 0;
        while (n < limit && raw[candidate + n] == raw[i + n]) ++n;
        if (static_cast<int>(n) > bestLength) {
          bestLength = static_cast<int>(n);
          bestDistance = static_cast<int>(i - candidate);
          if (n == limit) break;
        }
        candidate = previous[candidate];
      }
    }
    if (bestLength >= kMinMatch) {
      PutMatch(bits, bestLength, bestDistance);
      for (int k = 0; k < bestLength; ++k) insert(i + k);
      i += bestLength;
    } else {
      PutLiteral(bits, raw[i]);
      insert(i);
      ++i;
    }
  }
  PutLiteral(bits, 256);  // end of block
  bits.Flush();
  Put32BigEndian(out, Adler32(raw.data(), raw.size()));
  return out;
}

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
  // The largest image is stored as PNG, as Windows reads it for that size: a few KB instead of 256 KB.
  for (const IconImage& image : images) bitmaps.push_back(image.side >= 256 ? EncodePng(image) : EncodeIconBitmap(image));

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

  const size_t stride = static_cast<size_t>(n) * 4;
  std::vector<uint8_t> rgba;
  rgba.reserve(stride * n);
  for (uint32_t p : image.argb) {
    rgba.insert(rgba.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                             static_cast<uint8_t>(p >> 24)});
  }
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(n) * (stride + 1));
  std::vector<uint8_t> best, row(stride);
  for (int y = 0; y < n; ++y) {
    const uint8_t* line = rgba.data() + static_cast<size_t>(y) * stride;
    const uint8_t* above = y > 0 ? line - stride : nullptr;
    // Of the five filters, the row with the smallest sum of signed bytes tends to compress best.
    long bestCost = -1;
    for (uint8_t filter = 0; filter <= 4; ++filter) {
      long cost = 0;
      for (size_t x = 0; x < stride; ++x) {
        const int a = x >= 4 ? line[x - 4] : 0, b = above ? above[x] : 0, c = above && x >= 4 ? above[x - 4] : 0;
        const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? Paeth(a, b, c) : 0;
        row[x] = static_cast<uint8_t>(line[x] - predicted);
        cost += std::abs(static_cast<int8_t>(row[x]));
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        best.assign(1, filter);
        best.insert(best.end(), row.begin(), row.end());
      }
    }
    raw.insert(raw.end(), best.begin(), best.end());
  }
  PutChunk(out, "IDAT", ZlibCompress(raw));
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
