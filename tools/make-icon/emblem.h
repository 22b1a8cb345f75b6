#pragma once
// The application emblem: a rounded square in the accent blue, darkening towards
// indigo at the bottom, with a white power glyph. Drawn with the UI toolkit's own
// rasteriser so the icon matches the icons inside the program.
#include <cstdint>
#include <vector>

namespace zq_icon {

// side x side pixels, rows top-down, 0xAARRGGBB with straight (not premultiplied)
// alpha, as icon files store them.
std::vector<uint32_t> RenderEmblem(int side);

}  // namespace zq_icon
