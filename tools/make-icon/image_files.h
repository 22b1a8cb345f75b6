#pragma once
// Writers for the two image formats the icon generator needs: Windows .ico (a
// 32-bit BMP image with its AND mask per size, PNG at 256) and PNG, compressed by
// a small deflate encoder of its own so that no zlib is needed on either tree.
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
// 1..256 (256 is written as 0 in the directory, as the format requires, and its
// image is a PNG).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

// The bytes of an RGBA PNG file of the image.
std::vector<uint8_t> EncodePng(const IconImage& image);

// A zlib stream (RFC 1950) of the bytes: one deflate block with the fixed codes.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw);

uint32_t Crc32(const uint8_t* data, size_t size);
uint32_t Adler32(const uint8_t* data, size_t size);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace zq_icon
