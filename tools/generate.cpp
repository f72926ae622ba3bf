#include "generate.h"

#include <filesystem>

#include "draw/image_io.h"
#include "sheets/sheets.h"
#include "sound/audio_io.h"
#include "sound/sounds.h"

namespace {
// Ogg serial numbers: one fixed number per file keeps the output the same from run to run.
std::vector<uint8_t> effectBytes(const Effect &e, int serial) {
  Wave w = mastered(e);
  std::string name = e.file;
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0) return wavBytes(w);
  return oggBytes({w}, 0.4f, serial);
}

} // namespace

const std::vector<DataFile> &dataFiles() {
  static const std::vector<DataFile> files = [] {
    std::vector<DataFile> f = {
        {"menu.tga", [] { return tgaBytes(drawMenuSheet()); }},
        {"sprites.tga", [] { return tgaBytes(drawSpriteSheet()); }},
        {"background1.tga", [] { return tgaBytes(drawBackground(0)); }},
        {"background2.tga", [] { return tgaBytes(drawBackground(1)); }},
        {"icon.png", [] { return pngBytes(drawIcon()); }},
    };
    int serial = 1;
    for (const Effect &e : effects()) {
      int s = serial++;
      f.push_back({std::string("audio/") + e.file, [e, s] { return effectBytes(e, s); }});
    }
    f.push_back({"audio/menu.ogg", [] { return oggBytes(menuMusic(), 0.3f, 101); }});
    f.push_back({"audio/ingame.ogg", [] { return oggBytes(ingameMusic(), 0.3f, 102); }});
    return f;
  }();
  return files;
}

const std::vector<DataFile> &iconFiles() {
  static const std::vector<DataFile> files = [] {
    std::vector<DataFile> f;
    for (int size : {32, 48, 128, 256}) { // the sizes desktops ask the theme for
      std::string folder = std::to_string(size) + "x" + std::to_string(size);
      f.push_back(
          {"hicolor/" + folder + "/apps/zyphora.png", [size] { return pngBytes(drawIcon(size)); }});
    }
    f.push_back({"hicolor/scalable/apps/zyphora.svg", [] {
                   std::string svg = iconSvg();
                   return std::vector<uint8_t>(svg.begin(), svg.end());
                 }});
    return f;
  }();
  return files;
}

bool generateIcons(const std::string &iconDir) {
  bool ok = true;
  for (const DataFile &f : iconFiles()) {
    std::filesystem::path path = std::filesystem::path(iconDir) / f.name;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    ok = writeFile(path.string(), f.make()) && ok;
  }
  return ok;
}

bool generateAll(const std::string &dataDir) {
  bool ok = true;
  for (const DataFile &f : dataFiles()) ok = writeFile(dataDir + "/" + f.name, f.make()) && ok;
  return ok;
}
