// Fuzzes the loaders on arbitrary files: the first byte picks the path (WAV sample, Ogg
// sample, Ogg stream, module), the rest is the file. Whatever loads is then played: the
// sample through the mixer, the stream and the module through two refills of each half.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KSound.h"
#include "host_testing.h"
#include "sound_files.h"

namespace {

KSound *gKeeper; // holds the device for the whole run
const char *const kNames[] = {"fuzz.wav", "fuzz.ogg", "stream.ogg", "fuzz.mod"};

void writeSeed(const char *folder, const char *name, int path, const Bytes &file) {
  Bytes bytes(1, uint8_t(path));
  bytes.insert(bytes.end(), file.begin(), file.end());
  writeFile(std::string(folder) + "/" + name, bytes);
}

void playFor(KSound &sound, int path) {
  if (path < 2) {
    sound.setPan(-40);
    sound.playSample();
    mixFrames(256);
    return;
  }
  for (unsigned long turn = 0; turn < 4; ++turn) {
    if (path == 2)
      sound.fillOggBuffer(turn & 1);
    else
      sound.fillModBuffer(turn & 1);
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  gKeeper = new KSound;
  hostTestSetMessageBoxHandler([](void *, const char *, const char *) {}, nullptr);
  if (const char *folder = std::getenv("ZYPHORA_FUZZ_SEED_DIR")) {
    Bytes ogg = oggImage(1, 11025, sine(1, 11025, 1500, 440, 0.5));
    writeSeed(folder, "sample.wav", 0, wavImage(1, 8000, 8, Bytes(64, 200)));
    writeSeed(folder, "sample.ogg", 1, ogg);
    writeSeed(folder, "stream.ogg", 2, ogg);
    writeSeed(folder, "tune.mod", 3, modImage());
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  int path = data[0] % 4;
  std::string file = writeTemp(kNames[path], Bytes(data + 1, data + size));
  KSound sound;
  bool loaded = path == 0 || path == 1 ? sound.loadSample(file.c_str(), 100, path == 1, 2)
                : path == 2            ? sound.loadStream(file.c_str())
                                       : sound.loadModule(file.c_str());
  if (loaded) playFor(sound, path);
  return 0;
}
