#ifndef KIMAGEFILE_H
#define KIMAGEFILE_H

// The picture codec both renderers' loaders and screenshot writers use: decodes TGA, JPEG,
// BMP and PNG from memory (KImageDecoders.h), and writes a 32-bit pixel array as BMP, JPEG,
// TGA or PNG.

#include <cstddef>
#include <cstdint>

// File formats, numbered as saveBackBuffer's imageFormat (K_SAVE_...).
enum KImageFormat {
  K_IMAGE_BMP = 0,
  K_IMAGE_JPG = 1,
  K_IMAGE_TGA = 2,
  K_IMAGE_PNG = 3,
};

// Byte order of the 32-bit pixels given to save.
enum KImageChannels {
  K_IMAGE_BGRA, // blue in the lowest byte (Windows' order)
  K_IMAGE_RGBA, // red in the lowest byte (OpenGL's GL_RGBA bytes)
};

// One pixel, blue first as Windows' RGBQUAD.
struct KImagePixel {
  uint8_t b, g, r, a;
};

class KImageFile {
public:
  KImageFile();
  ~KImageFile();

  // Decodes a whole file held in memory as the given format; false (and empty) when the bytes
  // are not a picture of that format, are damaged or cut short, or describe a picture over the
  // ceiling (MAX_SIDE pixels a side, MAX_BYTES decoded).
  bool decode(const unsigned char *data, size_t size, KImageFormat format);
  // The format a picture file is decoded as, chosen from its own name (after the last folder
  // separator, never from the folders above it): ".tga", ".jpg", ".bmp" and ".png" are looked
  // for in this order and a later match replaces an earlier one. False when none is there.
  static bool formatOfName(const char *fileName, bool ignoreCase, KImageFormat &format);
  // A picture file read through KResource and decoded as the format of its name; null when it
  // cannot be read or decoded. The caller deletes it.
  static KImageFile *load(const char *fileName, bool ignoreCase);
  void clear();

  bool isValid() const { return _pixels != nullptr; }
  long getWidth() const { return _width; }
  long getHeight() const { return _height; }
  // Bits per pixel in the file: 8 grey, 16 grey + alpha, 24 colour, 32 colour + alpha.
  int getBpp() const { return _channels * 8; }
  // The file carries an alpha channel (2 or 4 channels).
  bool hasAlpha() const { return _channels == 2 || _channels == 4; }
  // The pixel at column x, row y counted from the BOTTOM row; alpha is 0 unless withAlpha
  // (then 255 for a picture without alpha). Outside the picture: all zero.
  KImagePixel getPixel(long x, long y, bool withAlpha) const;
  // The decoded pixels, RGBA bytes, rows from the top.
  const uint8_t *getRGBA() const { return _pixels; }

  // Writes width x height 32-bit pixels (bytesPerLine apart, rows from the bottom when
  // bottomUp) to fileName as an opaque picture, resized to outWidth x outHeight when both are
  // positive. False when the arguments are bad or the file cannot be written.
  static bool save(const char *fileName, KImageFormat format, const uint8_t *pixels,
                   KImageChannels order, long width, long height, long bytesPerLine, bool bottomUp,
                   long outWidth = 0, long outHeight = 0);

  // The ceiling of one picture, checked before anything is allocated: a few header bytes can
  // claim any size. The largest side decoded or written, and the decoded RGBA bytes (which
  // also bound the JPEG decoder's own work). The square texture made from a picture doubles
  // its side again: 4096 keeps both within 64 MB, well above anything the game draws.
  enum { MAX_SIDE = 4096 };
  static constexpr size_t MAX_BYTES = (size_t)MAX_SIDE * MAX_SIDE * 4;

private:
  KImageFile(const KImageFile &) = delete;
  KImageFile &operator=(const KImageFile &) = delete;

  uint8_t *_pixels;
  long _width, _height;
  int _channels;
};

#endif
