#include "KImageFile.h"

#include <climits>
#include <cstring>
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>
#include <vector>

namespace {

// stb_image guesses the format itself; the caller's choice is honoured by checking the
// file's signature first, so a .png holding a JPEG fails as it would with a PNG-only decoder.
bool hasSignature(const unsigned char *data, size_t size, KImageFormat format) {
  switch (format) {
  case K_IMAGE_PNG: return size >= 8 && memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
  case K_IMAGE_JPG: return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
  case K_IMAGE_BMP: return size >= 2 && data[0] == 'B' && data[1] == 'M';
  case K_IMAGE_TGA: {
    // TGA has no magic: check its 18-byte header. A valid header's second byte (colour map
    // type 0 or 1) rules out every signature stb would try before TGA.
    if (size < 18 || data[1] > 1) return false;
    int type = data[2], bpp = data[16];
    bool knownType = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    return knownType && (bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32);
  }
  }
  return false;
}

} // namespace

KImageFile::KImageFile() : _pixels(nullptr), _width(0), _height(0), _channels(0) {}
KImageFile::~KImageFile() { clear(); }

void KImageFile::clear() {
  if (_pixels) stbi_image_free(_pixels);
  _pixels = nullptr;
  _width = _height = 0;
  _channels = 0;
}

bool KImageFile::decode(const unsigned char *data, size_t size, KImageFormat format) {
  clear();
  if (!data || size == 0 || size > INT_MAX || !hasSignature(data, size, format)) return false;
  int width, height, channels;
  // Sizes first: a damaged header must not make the decoder allocate gigabytes.
  if (!stbi_info_from_memory(data, (int)size, &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE) return false;
  _pixels = stbi_load_from_memory(data, (int)size, &width, &height, &channels, 4);
  if (!_pixels) return false;
  _width = width;
  _height = height;
  _channels = channels;
  return true;
}

KImagePixel KImageFile::getPixel(long x, long y, bool withAlpha) const {
  if (!_pixels || x < 0 || y < 0 || x >= _width || y >= _height) return KImagePixel{0, 0, 0, 0};
  const uint8_t *p = _pixels + ((size_t)(_height - 1 - y) * _width + x) * 4;
  return KImagePixel{p[2], p[1], p[0], withAlpha ? p[3] : (uint8_t)0};
}

bool KImageFile::save(const char *fileName, KImageFormat format, const uint8_t *pixels, KImageChannels order,
                      long width, long height, long bytesPerLine, bool bottomUp, long outWidth, long outHeight) {
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
    if (!stbir_resize_uint8_generic(rgb.data(), (int)width, (int)height, 0, resized.data(), (int)outWidth,
                                    (int)outHeight, 0, 3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                    STBIR_FILTER_BOX, STBIR_COLORSPACE_LINEAR, nullptr))
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
