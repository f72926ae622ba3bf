// The preferences loader against any file: whatever the file holds,
//  - the record takes at most its first 56 bytes, in place, and keeps the rest;
//  - the volumes come out clamped to 0..10;
//  - the table draws only glyphs of its font, whatever the numbers;
//  - entering a score (the data's own) keeps within the table.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "prefs_file.h"
#include "recording_graphic.h"
#include "state.h"
#include "zyphora.h"

namespace {

const sPreference startingPrefs = {80, 80, {3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0}};
std::string home; // the fuzzer's own user folder, removed at exit

void writeFile(const std::string &path, const uint8_t *bytes, size_t size) {
  if (FILE *f = fopen(path.c_str(), "wb")) {
    fwrite(bytes, 1, size, f);
    fclose(f);
  }
}

bool isGlyph(const GraphicCall &blit) {
  static const float strips[][2] = {{491, 506}, {506, 521}, {520, 535}, {535, 550},
                                    {550, 565}, {565, 580}, {580, 595}, {595, 610},
                                    {610, 625}, {625, 640}, {483, 488}};
  if (blit.args[1] != 530 || blit.args[3] != 548) return false;
  for (const auto &strip : strips)
    if (blit.args[0] == strip[0] && blit.args[2] == strip[1]) return true;
  return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  char pattern[] = "/tmp/zyphora-fuzz-prefs-XXXXXX";
  if (const char *made = mkdtemp(pattern)) {
    home = made;
    setenv("XDG_DATA_HOME", made, 1);
    atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(home, ignored);
    });
  }
  const char *folder = getenv("ZYPHORA_FUZZ_SEED_DIR");
  if (!folder) return 0;
  unsigned char bytes[PREFS_FILE_SIZE];
  encodePrefs(startingPrefs, bytes);
  writeFile(std::string(folder) + "/defaults", bytes, sizeof bytes);
  writeFile(std::string(folder) + "/short", bytes, 13);
  const sPreference odd = {12, -3, {2147483647, -1, 0, 5, 4, 3}, {-2147483647 - 1, 1, 2, 3, 4, 5}};
  encodePrefs(odd, bytes);
  writeFile(std::string(folder) + "/odd", bytes, sizeof bytes);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The loader: the file's bytes in place, the rest kept, the volumes clamped.
  preferences = startingPrefs;
  char path[300];
  if (prefsFilePath(path, sizeof path)) writeFile(path, data, size); // also makes the folder
  loadPrefs();
  unsigned char before[PREFS_FILE_SIZE], after[PREFS_FILE_SIZE];
  encodePrefs(startingPrefs, before);
  encodePrefs(preferences, after);
  const size_t used = size < PREFS_FILE_SIZE ? size : PREFS_FILE_SIZE;
  if (memcmp(after, data, used) != 0) abort();
  if (memcmp(after + used, before + used, PREFS_FILE_SIZE - used) != 0) abort();
  if (gVolumeSFX < 0 || gVolumeSFX > 10 || gVolumeMusic < 0 || gVolumeMusic > 10) abort();

  // The table, whatever it holds, draws glyphs of its font and its five dashes.
  RecordingGraphic table;
  table.calls.reserve(256);
  displayHighscore(&table);
  for (const GraphicCall &blit : table.callsNamed("blitAlphaRect"))
    if (!isGlyph(blit)) abort();
  if (table.count("drawRect") < 4 || table.count("drawRect") > 5) abort();

  // A score from the data's last bytes enters the table without leaving it.
  uint32_t score = 0;
  for (size_t i = size > 4 ? size - 4 : 0; i < size; i++) score = score << 8 | data[i];
  gScore = static_cast<int32_t>(score);
  gLevel = 3;
  lastHighscore = -1;
  const int32_t threshold = preferences.highscore[HIGHSCORE_ROWS - 1];
  if (isHighscore() != (gScore >= threshold)) abort();
  if (lastHighscore < -1 || lastHighscore > 4) abort();
  return 0;
}
