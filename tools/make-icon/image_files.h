#pragma once
// Writers for the two image formats the icon generator needs: Windows .ico (one
// 32-bit BMP image per size, with its AND mask) and PNG (for looking at the art;
// deflate "stored" blocks, no compression, so no zlib is needed).
#include <cstdint>
#include <string>
#include <vector>

namespace zq_icon {

// One square image: side x side pixels, rows top-down, 0xAARRGGBB, straight alpha.
struct IconImage {
  int side = 0;
  std::vector<uint32_t> argb;
};

// The bytes of an .ico file holding the images in the given order. Sides must be
// 1..256 (256 is written as 0 in the directory, as the format requires).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

// The bytes of an RGBA PNG file of the image.
std::vector<uint8_t> EncodePng(const IconImage& image);

uint32_t Crc32(const uint8_t* data, size_t size);
uint32_t Adler32(const uint8_t* data, size_t size);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace zq_icon
