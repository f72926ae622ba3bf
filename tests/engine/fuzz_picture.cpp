// Fuzzes the picture-decoding path: the first byte picks the format the caller asks for, the
// rest is the file. Every decoded pixel is read back through the accessor.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "KImageFile.h"

namespace {

// Seeds: a small picture in each format, written by the codec itself.
void writeSeeds(const char *folder) {
  uint32_t pixels[6 * 4];
  for (int i = 0; i < 24; i++) pixels[i] = 0xFF000000u | (uint32_t)(i * 0x0A1B2C);
  const char *names[] = {"seed.bmp", "seed.jpg", "seed.tga", "seed.png"};
  for (int format = 0; format < 4; format++) {
    std::string tmp = std::string(folder) + "/.tmp_" + names[format];
    if (!KImageFile::save(tmp.c_str(), (KImageFormat)format, reinterpret_cast<const uint8_t *>(pixels), K_IMAGE_BGRA,
                          6, 4, 24, true))
      continue;
    FILE *in = fopen(tmp.c_str(), "rb");
    FILE *out = fopen((std::string(folder) + "/" + names[format]).c_str(), "wb");
    if (in && out) {
      fputc(format, out); // the format byte the fuzzer reads first
      int c;
      while ((c = fgetc(in)) != EOF) fputc(c, out);
    }
    if (in) fclose(in);
    if (out) fclose(out);
    remove(tmp.c_str());
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  if (const char *folder = getenv("ZYPHORA_FUZZ_SEED_DIR")) writeSeeds(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  KImageFile image;
  if (!image.decode(data + 1, size - 1, (KImageFormat)(data[0] % 4))) return 0;
  unsigned sum = 0;
  for (long y = 0; y < image.getHeight(); y++)
    for (long x = 0; x < image.getWidth(); x++) {
      KImagePixel p = image.getPixel(x, y, image.hasAlpha());
      sum += p.r + p.g + p.b + p.a;
    }
  return sum == 0xFFFFFFFFu; // keeps the reads from being optimised away
}
