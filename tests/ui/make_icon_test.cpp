#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#ifdef ZQ_TEST_WITH_ZLIB
#include <zlib.h>
#endif

#include "tools/make-icon/emblem.h"
#include "tools/make-icon/image_files.h"

namespace zq_icon {
namespace {

uint32_t Read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t Read32(const std::vector<uint8_t>& b, size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }

// Adler-32 is checked by zlib's inflate below; nothing here reads the PNG chunks' CRC back.
TEST(ImageFiles, Crc32MatchesItsStandardCheckValue) {
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCBF43926u);
}

TEST(ImageFiles, IcoHasADirectoryOfBottomUpBitmapsWithAndMasks) {
  IconImage small{2, {0xFF112233, 0x00000000,    // top row: opaque, transparent
                      0x80FFFFFF, 0xFF000000}};  // bottom row
  IconImage large{256, std::vector<uint32_t>(256 * 256, 0xFF3B82F6)};
  const std::vector<uint8_t> ico = EncodeIco({small, large});

  EXPECT_EQ((std::array{Read16(ico, 0), Read16(ico, 2), Read16(ico, 4)}), (std::array<uint32_t, 3>{0, 1, 2}));
  EXPECT_EQ((std::array{ico[6], ico[6 + 16]}), (std::array<uint8_t, 2>{2, 0}));  // widths: 256 is written as 0
  const uint32_t smallBytes = Read32(ico, 6 + 8), smallAt = Read32(ico, 6 + 12);
  const uint32_t largeBytes = Read32(ico, 22 + 8), largeAt = Read32(ico, 22 + 12);
  EXPECT_EQ(smallAt, 6u + 2 * 16);
  EXPECT_EQ(largeAt, smallAt + smallBytes);
  EXPECT_EQ(largeAt + largeBytes, ico.size());
  EXPECT_EQ(std::vector<uint8_t>(ico.begin() + largeAt, ico.end()), EncodePng(large));  // 256 is a PNG

  // A BITMAPINFOHEADER of twice the height (colour and mask) and 32 bits a pixel; rows bottom-up.
  EXPECT_EQ((std::array{Read32(ico, smallAt), Read32(ico, smallAt + 8), Read16(ico, smallAt + 14)}),
            (std::array<uint32_t, 3>{40, 4, 32}));
  const size_t pixels = smallAt + 40, mask = pixels + 16;  // mask rows of 4 bytes; 1 = transparent
  EXPECT_EQ((std::array{Read32(ico, pixels), Read32(ico, pixels + 8)}), (std::array{0x80FFFFFFu, 0xFF112233u}));
  EXPECT_EQ((std::array{ico[mask], ico[mask + 4]}), (std::array<uint8_t, 2>{0x00, 0x40}));
}

#ifdef ZQ_TEST_WITH_ZLIB
// zlib's own inflate reads back what the encoder wrote: literals of every value,
// runs longer than one match, matches at the window's edge and just beyond it.
TEST(ImageFiles, ZlibInflatesWhatTheEncoderWrote) {
  std::mt19937 random(7);
  std::vector<uint8_t> noise(40000);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  std::vector<uint8_t> farRepeat(noise.begin(), noise.begin() + 32768);
  farRepeat.insert(farRepeat.end(), noise.begin(), noise.begin() + 300);  // distance exactly 32768
  std::vector<uint8_t> tooFar(noise);
  tooFar.insert(tooFar.end(), noise.begin(), noise.begin() + 300);  // distance 40000: beyond the window
  std::vector<uint8_t> runs(70000, 'a');
  for (size_t i = 0; i < runs.size(); i += 997) runs[i] = static_cast<uint8_t>(i);
  IconImage emblem{256, RenderEmblem(256)};
  const std::vector<uint8_t> png = EncodePng(emblem);

  for (const std::vector<uint8_t>& raw : {std::vector<uint8_t>{}, std::vector<uint8_t>{'x'}, noise, farRepeat, tooFar, runs}) {
    const std::vector<uint8_t> packed = ZlibCompress(raw);
    std::vector<uint8_t> back(raw.size() + 1);
    uLongf size = back.size();
    ASSERT_EQ(uncompress(back.data(), &size, packed.data(), packed.size()), Z_OK) << raw.size();
    back.resize(size);
    EXPECT_EQ(back, raw) << raw.size();
  }
  EXPECT_LT(ZlibCompress(runs).size(), runs.size() / 20);
  EXPECT_LT(png.size(), 256u * 256 * 4 / 10);  // the emblem's flat areas and edges compress
}
#endif

TEST(Emblem, IsAnOpaqueRoundedBlueSquareWithAWhiteGlyph) {
  for (int side : {16, 48, 256}) {
    const std::vector<uint32_t> px = RenderEmblem(side);
    ASSERT_EQ(px.size(), static_cast<size_t>(side) * side);
    const auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * side + x]; };
    EXPECT_EQ(at(0, 0) >> 24, 0u) << side;                       // rounded corner
    EXPECT_EQ(at(side / 2, side - 1 - side / 24) >> 24, 255u) << side;  // bottom edge
    const uint32_t body = at(side / 6, side / 2);
    EXPECT_GT(body & 0xFF, (body >> 16) & 0xFF) << side;  // blue rather than red
    EXPECT_NE(std::count(px.begin(), px.end(), 0xFFFFFFFFu), 0) << side;  // solid white glyph pixels
  }
}

}  // namespace
}  // namespace zq_icon
