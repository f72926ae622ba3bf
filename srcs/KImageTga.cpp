// TGA pictures: true-colour (15, 16, 24, 32 bits), grey (8 bits, 16 with alpha) and
// colour-mapped (8- or 16-bit indices), stored plainly or run-length encoded, rows from the
// bottom unless the descriptor says otherwise.
#include <cstdlib>

#include "KImageDecoders.h"

namespace {

enum { HEADER = 18 };

// The header's fields that matter here.
struct TgaHeader {
  unsigned idLength, mapType, type, mapFirst, mapLength, mapBits, width, height, bits, descriptor;
  unsigned kind() const { return type & 7; } // 1 colour-mapped, 2 true-colour, 3 grey
  bool runLength() const { return type & 8; }
  unsigned pixelBytes() const { return (bits + 7) / 8; }
  unsigned mapBytes() const { return mapType ? mapLength * ((mapBits + 7) / 8) : 0; }
};

bool colourBits(unsigned bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

bool valid(const TgaHeader &h) {
  if (h.width == 0 || h.height == 0 || h.mapType > 1 || (h.type & ~8u) < 1 || (h.type & ~8u) > 3)
    return false;
  if (h.mapType && !colourBits(h.mapBits)) return false;
  switch (h.kind()) {
  case 1: return h.mapType && h.mapLength > 0 && (h.bits == 8 || h.bits == 16);
  case 2: return colourBits(h.bits);
  default: return h.bits == 8 || h.bits == 16;
  }
}

// Five bits stretched to eight.
uint8_t five(unsigned v) { return (uint8_t)((v & 31) * 255 / 31); }

// One stored colour (blue first) as RGBA.
void colour(const uint8_t *p, unsigned bits, uint8_t *rgba) {
  if (bits <= 16) { // A RRRRR GGGGG BBBBB: the top bit is not taken as alpha
    unsigned v = le16(p);
    rgba[0] = five(v >> 10), rgba[1] = five(v >> 5), rgba[2] = five(v), rgba[3] = 255;
    return;
  }
  rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = bits == 32 ? p[3] : 255;
}

// The stored pixels one after another, through the run-length packets when there are any.
class PixelStream {
public:
  PixelStream(const uint8_t *data, const uint8_t *end, unsigned bytes, bool runLength)
      : _p(data), _end(end), _bytes(bytes), _runLength(runLength) {}
  // The next pixel's bytes, or null when the data ends first.
  const uint8_t *next() {
    if (!_runLength) return take();
    if (_left == 0) {
      if (_p == _end) return nullptr;
      unsigned packet = *_p++;
      _left = (packet & 127) + 1;
      _repeated = packet & 128 ? take() : nullptr;
      if (packet & 128 && !_repeated) return nullptr;
    }
    _left--;
    return _repeated ? _repeated : take();
  }

private:
  const uint8_t *take() {
    if ((size_t)(_end - _p) < _bytes) return nullptr;
    const uint8_t *pixel = _p;
    _p += _bytes;
    return pixel;
  }
  const uint8_t *_p, *_end;
  unsigned _bytes;
  bool _runLength;
  unsigned _left = 0;
  const uint8_t *_repeated = nullptr;
};

// The picture's channels as the file stores them.
int channelsOf(const TgaHeader &h) {
  unsigned bits = h.kind() == 1 ? h.mapBits : h.bits;
  if (h.kind() == 3) return bits == 16 ? 2 : 1;
  return bits == 32 ? 4 : 3;
}

// Fills the picture; false when the data ends early or an index is outside the colour map.
bool readPixels(const TgaHeader &h, const uint8_t *map, PixelStream &stream, uint8_t *pixels) {
  bool topDown = h.descriptor & 0x20, rightToLeft = h.descriptor & 0x10;
  size_t count = (size_t)h.width * h.height;
  for (size_t i = 0; i < count; i++) {
    const uint8_t *stored = stream.next();
    if (!stored) return false;
    size_t row = i / h.width, column = i % h.width;
    if (!topDown) row = h.height - 1 - row;
    if (rightToLeft) column = h.width - 1 - column;
    uint8_t *rgba = pixels + (row * h.width + column) * 4;
    if (h.kind() == 1) {
      unsigned index = h.bits == 8 ? stored[0] : le16(stored);
      if (index < h.mapFirst || index - h.mapFirst >= h.mapLength) return false;
      colour(map + (index - h.mapFirst) * ((h.mapBits + 7) / 8), h.mapBits, rgba);
    } else if (h.kind() == 2) {
      colour(stored, h.bits, rgba);
    } else {
      rgba[0] = rgba[1] = rgba[2] = stored[0];
      rgba[3] = h.bits == 16 ? stored[1] : 255;
    }
  }
  return true;
}

} // namespace

bool decodeTga(const uint8_t *data, size_t size, KDecodedImage &out) {
  if (size < HEADER) return false;
  TgaHeader h{data[0], data[1],         data[2],         le16(data + 3), le16(data + 5),
              data[7], le16(data + 12), le16(data + 14), data[16],       data[17]};
  size_t map = HEADER + h.idLength, start = map + h.mapBytes();
  if (!valid(h) || start > size) return false;
  uint8_t *pixels = allocatePicture(h.width, h.height);
  if (!pixels) return false;
  PixelStream stream(data + start, data + size, h.pixelBytes(), h.runLength());
  if (!readPixels(h, data + map, stream, pixels)) {
    free(pixels);
    return false;
  }
  out = KDecodedImage{pixels, (long)h.width, (long)h.height, channelsOf(h)};
  return true;
}
