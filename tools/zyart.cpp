// zyart DATA_DIR [PREVIEW_DIR]: writes every picture and sound of the game into DATA_DIR
// (and DATA_DIR/audio), and optionally PNG previews and a mock-up frame into PREVIEW_DIR.
// zyart --icons ICON_DIR: writes the desktop's icons under ICON_DIR (dist/icons).
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "generate.h"

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s DATA_DIR [PREVIEW_DIR]\n       %s --icons ICON_DIR\n", argv[0],
                 argv[0]);
    return 2;
  }
  if (std::strcmp(argv[1], "--icons") == 0) {
    if (argc == 3 && generateIcons(argv[2])) return 0;
    std::fprintf(stderr, "zyart: could not write the icons under %s\n",
                 argc == 3 ? argv[2] : "(no folder)");
    return 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(argv[1]) / "audio", ec);
  if (!generateAll(argv[1])) {
    std::fprintf(stderr, "zyart: could not write every file under %s\n", argv[1]);
    return 1;
  }
  if (argc == 3) {
    std::filesystem::create_directories(argv[2], ec);
    if (!writePreviews(argv[2])) {
      std::fprintf(stderr, "zyart: could not write the previews under %s\n", argv[2]);
      return 1;
    }
  }
  return 0;
}
