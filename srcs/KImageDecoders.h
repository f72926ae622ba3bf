#ifndef KIMAGEDECODERS_H
#define KIMAGEDECODERS_H

// The decoders behind KImageFile::decode, one file each: TGA and BMP are read by our own
// readers, PNG by libpng, JPEG by libjpeg-turbo. Each refuses a file whose pixel data is
// shorter than its header promises, and allocates only through allocatePicture.

#include <cstddef>
#include <cstdint>

// A decoded picture: RGBA bytes, rows from the top, and the channels stored in the file.
struct KDecodedImage {
  uint8_t *pixels; // from allocatePicture, released with free()
  long width, height;
  int channels; // 1 grey, 2 grey + alpha, 3 colour, 4 colour + alpha
};

// Room for width x height RGBA pixels (not cleared), or null when the picture is over the
// per-picture ceiling (KImageFile::MAX_SIDE a side, KImageFile::MAX_BYTES in all) or memory
// runs out. Every decoder asks here before it allocates the picture.
uint8_t *allocatePicture(long width, long height);

// Each returns false, with nothing left allocated in out, when the bytes are not a whole
// picture of its format.
bool decodeTga(const uint8_t *data, size_t size, KDecodedImage &out);
bool decodeBmp(const uint8_t *data, size_t size, KDecodedImage &out);
bool decodePng(const uint8_t *data, size_t size, KDecodedImage &out);
bool decodeJpeg(const uint8_t *data, size_t size, KDecodedImage &out);

// Little-endian fields of the TGA and BMP headers.
inline unsigned le16(const uint8_t *p) { return p[0] | (unsigned)p[1] << 8; }
inline uint32_t le32(const uint8_t *p) { return le16(p) | (uint32_t)le16(p + 2) << 16; }

#endif
