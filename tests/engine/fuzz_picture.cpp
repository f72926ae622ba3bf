// Fuzzes the picture decoders: the first byte picks the format the caller asks for, the rest is
// the file. A decoded picture never depends on bytes after the file's end: the same file
// followed by zeros, then by 0xFF bytes, must decode to the same picture, or the decoder made
// up pixels the file does not hold (read past its data, or left rows unwritten).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "KImageFile.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void writeSeed(const char *folder, const char *name, int format, const Bytes &file) {
  FILE *out = fopen((std::string(folder) + "/" + name).c_str(), "wb");
  if (!out) return;
  fputc(format, out); // the format byte the fuzzer reads first
  fwrite(file.data(), 1, file.size(), out);
  fclose(out);
}

Bytes readAndRemove(const std::string &name) {
  Bytes bytes;
  FILE *in = fopen(name.c_str(), "rb");
  for (int c; in && (c = fgetc(in)) != EOF;) bytes.push_back((uint8_t)c);
  if (in) fclose(in);
  remove(name.c_str());
  return bytes;
}

// Seeds: a small picture in each format as the codec writes it (the TGA run-length encoded),
// and the layouts it does not write: a plain 32-bit TGA, a colour-mapped TGA, a paletted BMP.
void writeSeeds(const char *folder) {
  uint32_t pixels[6 * 4];
  for (int i = 0; i < 24; i++) pixels[i] = 0xFF000000u | (uint32_t)(i * 0x0A1B2C);
  const char *names[] = {"seed.bmp", "seed.jpg", "seed.tga", "seed.png"};
  for (int format = 0; format < 4; format++) {
    std::string tmp = std::string(folder) + "/.tmp_" + names[format];
    if (KImageFile::save(tmp.c_str(), (KImageFormat)format,
                         reinterpret_cast<const uint8_t *>(pixels), K_IMAGE_BGRA, 6, 4, 24, true))
      writeSeed(folder, names[format], format, readAndRemove(tmp));
  }
  Bytes plain = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0x28};
  for (int i = 0; i < 6; i++)
    plain.insert(plain.end(), {(uint8_t)(i * 40), 90, 200, (uint8_t)(i * 50)});
  writeSeed(folder, "plain.tga", K_IMAGE_TGA, plain);
  Bytes mapped = {0, 1, 1, 0, 0,   2, 0, 24, 0, 0,   0, 0, 2, 0,
                  2, 0, 8, 0, 255, 0, 0, 0,  0, 255, 0, 1, 1, 0};
  writeSeed(folder, "mapped.tga", K_IMAGE_TGA, mapped);
  Bytes bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40,
               0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 1, 0};
  bmp.resize(54, 0);
  bmp.insert(bmp.end(), {0, 0, 0, 0, 255, 255, 255, 0, 0x80, 0, 0, 0, 0x40, 0, 0, 0});
  writeSeed(folder, "mono.bmp", K_IMAGE_BMP, bmp);
}

bool samePicture(const KImageFile &a, const KImageFile &b) {
  return a.getWidth() == b.getWidth() && a.getHeight() == b.getHeight() &&
         a.hasAlpha() == b.hasAlpha() &&
         memcmp(a.getRGBA(), b.getRGBA(), (size_t)a.getWidth() * a.getHeight() * 4) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  if (const char *folder = getenv("ZYPHORA_FUZZ_SEED_DIR")) writeSeeds(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  KImageFormat format = (KImageFormat)(data[0] % 4);
  KImageFile image;
  if (!image.decode(data + 1, size - 1, format)) return 0;
  for (uint8_t fill : {0x00, 0xFF}) {
    Bytes padded(data + 1, data + size);
    padded.resize(padded.size() + 256, fill);
    KImageFile again;
    if (!again.decode(padded.data(), padded.size(), format) || !samePicture(image, again)) {
      fprintf(stderr, "the picture changes with the bytes after its file (0x%02X)\n", fill);
      abort();
    }
  }
  unsigned sum = 0;
  for (long y = 0; y < image.getHeight(); y++)
    for (long x = 0; x < image.getWidth(); x++) {
      KImagePixel p = image.getPixel(x, y, image.hasAlpha());
      sum += p.r + p.g + p.b + p.a;
    }
  return sum == 0xFFFFFFFFu; // keeps the reads from being optimised away
}
