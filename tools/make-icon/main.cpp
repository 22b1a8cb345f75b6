// zq-make-icon OUT.ico [--png-dir DIR] [--icons-dir DIR]
// Renders the application icon in every size Windows asks for and writes the .ico
// that the resource script embeds. --png-dir also writes each size as app-N.png;
// --icons-dir writes the UI icon table as icon-II-N.png (11, 16, 24 and 96 px),
// black on transparent, for looking at the artwork.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/make-icon/emblem.h"
#include "tools/make-icon/image_files.h"
#include "ui/icon_table.h"
#include "ui/icons.h"

namespace {

constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
constexpr int kPreviewSizes[] = {11, 16, 24, 96};

int Usage() {
  std::fprintf(stderr, "usage: zq-make-icon OUT.ico [--png-dir DIR] [--icons-dir DIR]\n");
  return 2;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (zq_icon::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "zq-make-icon: cannot write %s\n", path.c_str());
  return false;
}

bool WriteIconTable(const std::string& dir) {
  for (int index = 1; index < ui::kIconCount; ++index) {
    for (int side : kPreviewSizes) {
      const ui::Mask& mask = ui::IconMask(index, side);
      zq_icon::IconImage image{side, std::vector<uint32_t>(mask.coverage.size())};
      for (size_t i = 0; i < image.argb.size(); ++i) image.argb[i] = static_cast<uint32_t>(mask.coverage[i]) << 24;
      char name[32];
      std::snprintf(name, sizeof name, "/icon-%02d-%d.png", index, side);
      if (!Write(dir + name, zq_icon::EncodePng(image))) return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string icoPath, pngDir, iconsDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--png-dir") == 0 && i + 1 < argc) {
      pngDir = argv[++i];
    } else if (std::strcmp(argv[i], "--icons-dir") == 0 && i + 1 < argc) {
      iconsDir = argv[++i];
    } else if (argv[i][0] != '-' && icoPath.empty()) {
      icoPath = argv[i];
    } else {
      return Usage();
    }
  }
  if (icoPath.empty()) return Usage();

  std::vector<zq_icon::IconImage> images;
  for (int side : kIconSizes) images.push_back({side, zq_icon::RenderEmblem(side)});
  if (!Write(icoPath, zq_icon::EncodeIco(images))) return 1;

  if (!pngDir.empty()) {
    for (const auto& image : images) {
      if (!Write(pngDir + "/app-" + std::to_string(image.side) + ".png", zq_icon::EncodePng(image))) return 1;
    }
  }
  if (!iconsDir.empty() && !WriteIconTable(iconsDir)) return 1;
  return 0;
}
