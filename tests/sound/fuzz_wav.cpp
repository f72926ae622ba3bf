// Fuzzes the WAV scan over an image allocated to its exact size: every byte it reads, and the
// PCM it hands back, must lie inside the image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ksound_testing.h"
#include "sound_files.h"

namespace {

KSound *gSound; // holds the device for the whole run

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  gSound = new KSound;
  if (const char *folder = std::getenv("ZYPHORA_FUZZ_SEED_DIR")) {
    Bytes wav = wavImage(2, 22050, 16, pcm16({1, -1, 300, -300, 7, 8}));
    writeFile(std::string(folder) + "/plain.wav", wav);
    Bytes list = wav;
    const char chunk[] = "LISTdata\x04\0\0\0abcd";
    list.insert(list.begin() + 12, chunk, chunk + sizeof chunk - 1);
    writeFile(std::string(folder) + "/list.wav", list);
    writeFile(std::string(folder) + "/tail.wav", Bytes(wav.begin(), wav.end() - 8));
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  unsigned char *image = static_cast<unsigned char *>(std::malloc(size ? size : 1));
  if (size) std::memcpy(image, data, size);
  long length = KSoundProbe::parseWav(*gSound, image, size);
  unsigned sum = 0;
  if (length > 0) {
    const unsigned char *pcm = KSoundProbe::pcm(*gSound);
    if (pcm < image || pcm + length > image + size)
      std::abort(); // the PCM must lie inside the image
    for (long i = 0; i < length; ++i) sum += pcm[i];
  }
  std::free(image);
  return sum == 0xFFFFFFFFu; // keeps the reads from being optimised away
}
