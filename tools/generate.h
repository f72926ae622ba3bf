// Makes every data file of the game: the pictures of data/ and the sounds of data/audio/.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DataFile {
  std::string name;                           // path under data/, e.g. "audio/ching.ogg"
  std::function<std::vector<uint8_t>()> make; // its bytes, the same on every run
};
const std::vector<DataFile> &dataFiles();

// Writes every file under dataDir (which must exist, with its audio/ folder); false on a write
// error.
bool generateAll(const std::string &dataDir);

// The desktop's icons, as the hicolor theme lays them out: "hicolor/32x32/apps/zyphora.png", ...
// each drawn at its size, and "hicolor/scalable/apps/zyphora.svg".
const std::vector<DataFile> &iconFiles();
// Writes them under iconDir (dist/icons in the source tree), making the folders; false on an error.
bool generateIcons(const std::string &iconDir);

// Pictures to look at: the sheets as PNG and a mock-up game frame lit at 40 % and 100 %.
bool writePreviews(const std::string &dir);
