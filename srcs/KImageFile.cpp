#include "KImageFile.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stb_image_resize.h>
#include <stb_image_write.h>
#include <string>
#include <vector>

#include "KImageDecoders.h"

namespace {

// The decoders by format number.
bool (*const kDecoders[])(const uint8_t *, size_t, KDecodedImage &) = {
    decodeBmp,  // K_IMAGE_BMP
    decodeJpeg, // K_IMAGE_JPG
    decodeTga,  // K_IMAGE_TGA
    decodePng,  // K_IMAGE_PNG
};

// The parts of a file's own name that choose its decoder, in the order they are looked for.
const struct {
  const char *extension;
  KImageFormat format;
} kExtensions[] = {
    {".tga", K_IMAGE_TGA},
    {".jpg", K_IMAGE_JPG},
    {".bmp", K_IMAGE_BMP},
    {".png", K_IMAGE_PNG},
};

} // namespace

uint8_t *allocatePicture(long width, long height) {
  if (width <= 0 || height <= 0 || width > KImageFile::MAX_SIDE || height > KImageFile::MAX_SIDE ||
      (size_t)width * height * 4 > KImageFile::MAX_BYTES)
    return nullptr;
  return (uint8_t *)malloc((size_t)width * height * 4);
}

bool KImageFile::formatOfName(const char *fileName, bool ignoreCase, KImageFormat &format) {
  if (!fileName) return false;
  const char *own = fileName; // after the last separator: names may use either
  for (const char *c = fileName; *c; c++)
    if (*c == '/' || *c == '\\') own = c + 1;
  std::string name(own);
  if (ignoreCase)
    for (char &c : name) c = (char)tolower((unsigned char)c);
  bool found = false;
  for (const auto &e : kExtensions)
    if (name.find(e.extension) != std::string::npos) format = e.format, found = true;
  return found;
}

KImageFile::KImageFile() : _pixels(nullptr), _width(0), _height(0), _channels(0) {}
KImageFile::~KImageFile() { clear(); }

void KImageFile::clear() {
  free(_pixels);
  _pixels = nullptr;
  _width = _height = 0;
  _channels = 0;
}

bool KImageFile::decode(const unsigned char *data, size_t size, KImageFormat format) {
  clear();
  KDecodedImage image{};
  if (!data || size == 0 || format < K_IMAGE_BMP || format > K_IMAGE_PNG ||
      !kDecoders[format](data, size, image))
    return false;
  _pixels = image.pixels;
  _width = image.width;
  _height = image.height;
  _channels = image.channels;
  return true;
}

KImagePixel KImageFile::getPixel(long x, long y, bool withAlpha) const {
  if (!_pixels || x < 0 || y < 0 || x >= _width || y >= _height) return KImagePixel{0, 0, 0, 0};
  const uint8_t *p = _pixels + ((size_t)(_height - 1 - y) * _width + x) * 4;
  return KImagePixel{p[2], p[1], p[0], withAlpha ? p[3] : (uint8_t)0};
}

bool KImageFile::save(const char *fileName, KImageFormat format, const uint8_t *pixels,
                      KImageChannels order, long width, long height, long bytesPerLine,
                      bool bottomUp, long outWidth, long outHeight) {
  if (!fileName || !pixels || width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE ||
      bytesPerLine < width * 4)
    return false;
  // Top-down RGB rows, as the writers take them.
  std::vector<uint8_t> rgb((size_t)width * height * 3);
  int red = order == K_IMAGE_RGBA ? 0 : 2, blue = 2 - red;
  for (long y = 0; y < height; y++) {
    const uint8_t *row = pixels + (size_t)(bottomUp ? height - 1 - y : y) * bytesPerLine;
    uint8_t *out = &rgb[(size_t)y * width * 3];
    for (long x = 0; x < width; x++, row += 4, out += 3) {
      out[0] = row[red];
      out[1] = row[1];
      out[2] = row[blue];
    }
  }
  if (outWidth > 0 && outHeight > 0 && (outWidth != width || outHeight != height)) {
    if (outWidth > MAX_SIDE || outHeight > MAX_SIDE) return false;
    std::vector<uint8_t> resized((size_t)outWidth * outHeight * 3);
    // A box filter: each written pixel is the average of the area it covers.
    if (!stbir_resize_uint8_generic(rgb.data(), (int)width, (int)height, 0, resized.data(),
                                    (int)outWidth, (int)outHeight, 0, 3, STBIR_ALPHA_CHANNEL_NONE,
                                    0, STBIR_EDGE_CLAMP, STBIR_FILTER_BOX, STBIR_COLORSPACE_LINEAR,
                                    nullptr))
      return false;
    rgb.swap(resized);
    width = outWidth;
    height = outHeight;
  }
  int w = (int)width, h = (int)height;
  switch (format) {
  case K_IMAGE_BMP: return stbi_write_bmp(fileName, w, h, 3, rgb.data()) != 0;
  case K_IMAGE_JPG: return stbi_write_jpg(fileName, w, h, 3, rgb.data(), 90) != 0;
  case K_IMAGE_TGA: return stbi_write_tga(fileName, w, h, 3, rgb.data()) != 0;
  case K_IMAGE_PNG: return stbi_write_png(fileName, w, h, 3, rgb.data(), w * 3) != 0;
  }
  return false;
}
