// BMP pictures: 1, 4 and 8 bits through a palette, 16 and 32 bits by masks (plain or given as
// bit fields), 24 bits blue first; rows from the bottom unless the height is negative. Run-length
// compressed files are not read.
#include <cstdlib>

#include "KImageDecoders.h"

namespace {

enum { FILE_HEADER = 14, CORE_HEADER = 12, INFO_HEADER = 40 };
enum { BI_RGB = 0, BI_BITFIELDS = 3 };

// One channel's mask: where it sits and how many bits it has.
struct Channel {
  uint32_t mask;
  unsigned shift, bits;
  Channel() : Channel(0) {}
  explicit Channel(uint32_t m) : mask(m), shift(0), bits(0) {
    while (m && !(m & 1)) m >>= 1, shift++;
    while (m & 1) m >>= 1, bits++;
  }
  // The channel of a stored pixel stretched to eight bits; `absent` when there is no mask.
  uint8_t of(uint32_t pixel, uint8_t absent) const {
    if (!bits) return absent;
    uint32_t top = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return (uint8_t)((uint64_t)(pixel >> shift & top) * 255 / top);
  }
};

struct BmpLayout {
  long width, height; // height > 0
  bool topDown;
  unsigned bits, compression;
  size_t pixelOffset, stride;
  Channel red, green, blue, alpha;
  const uint8_t *palette; // colour-mapped pictures: entries of paletteEntry bytes
  unsigned paletteSize, paletteEntry;
};

// Reads the headers; false for anything this reader does not take or that lies outside the file.
bool readLayout(const uint8_t *data, size_t size, BmpLayout &b) {
  if (size < FILE_HEADER + 4 || data[0] != 'B' || data[1] != 'M') return false;
  size_t header = le32(data + FILE_HEADER);
  if ((header != CORE_HEADER && header < INFO_HEADER) || FILE_HEADER + header > size) return false;
  const uint8_t *h = data + FILE_HEADER;
  long height;
  unsigned used = 0;
  if (header == CORE_HEADER) {
    b.width = le16(h + 4), height = le16(h + 6), b.bits = le16(h + 10), b.compression = BI_RGB;
  } else {
    b.width = (int32_t)le32(h + 4), height = (int32_t)le32(h + 8), b.bits = le16(h + 14);
    b.compression = le32(h + 16), used = le32(h + 32);
  }
  b.topDown = height < 0;
  b.height = height < 0 ? -height : height;
  b.pixelOffset = le32(data + 10);
  bool paletted = b.bits == 1 || b.bits == 4 || b.bits == 8;
  if (b.width <= 0 || b.height <= 0 || !(paletted || b.bits == 16 || b.bits == 24 || b.bits == 32))
    return false;
  if (!(b.compression == BI_RGB ||
        (b.compression == BI_BITFIELDS && (b.bits == 16 || b.bits == 32))))
    return false;
  b.stride = ((size_t)b.width * b.bits + 31) / 32 * 4;
  b.paletteEntry = header == CORE_HEADER ? 3 : 4;
  b.paletteSize = paletted ? (used ? used : 1u << b.bits) : 0;
  b.palette = data + FILE_HEADER + header;
  if (b.paletteSize > 256 || FILE_HEADER + header + (size_t)b.paletteSize * b.paletteEntry > size)
    return false;
  if (b.compression == BI_BITFIELDS) { // masks in the header, or just after a 40-byte one
    if (FILE_HEADER + INFO_HEADER + 12 > size) return false;
    const uint8_t *m = data + FILE_HEADER + INFO_HEADER;
    b.red = Channel(le32(m)), b.green = Channel(le32(m + 4)), b.blue = Channel(le32(m + 8));
    b.alpha = Channel(header >= 56 ? le32(m + 12) : 0);
  } else if (b.bits == 16) {
    b.red = Channel(0x7C00), b.green = Channel(0x03E0), b.blue = Channel(0x001F);
  } else if (b.bits == 32) { // blue, green, red, and alpha where the writer kept any
    b.red = Channel(0xFF0000), b.green = Channel(0xFF00), b.blue = Channel(0xFF),
    b.alpha = Channel(0xFF000000u);
  }
  // Every row whole, padding included: a file cut short is refused.
  return b.pixelOffset <= size && (size - b.pixelOffset) / b.stride >= (size_t)b.height;
}

// Pixel x of a stored row as RGBA; false for an index outside the palette.
bool readPixel(const BmpLayout &b, const uint8_t *row, long x, uint8_t *rgba) {
  if (b.paletteSize) {
    unsigned perByte = 8 / b.bits, shift = 8 - b.bits * (1 + x % perByte);
    unsigned index = row[x / perByte] >> shift & ((1u << b.bits) - 1);
    if (index >= b.paletteSize) return false;
    const uint8_t *entry = b.palette + index * b.paletteEntry;
    rgba[0] = entry[2], rgba[1] = entry[1], rgba[2] = entry[0], rgba[3] = 255;
    return true;
  }
  if (b.bits == 24) {
    rgba[0] = row[x * 3 + 2], rgba[1] = row[x * 3 + 1], rgba[2] = row[x * 3], rgba[3] = 255;
    return true;
  }
  uint32_t pixel = b.bits == 16 ? le16(row + x * 2) : le32(row + x * 4);
  rgba[0] = b.red.of(pixel, 0), rgba[1] = b.green.of(pixel, 0), rgba[2] = b.blue.of(pixel, 0);
  rgba[3] = b.alpha.of(pixel, 255);
  return true;
}

bool readPixels(const uint8_t *data, const BmpLayout &b, uint8_t *pixels) {
  for (long y = 0; y < b.height; y++) {
    const uint8_t *row =
        data + b.pixelOffset + (size_t)(b.topDown ? y : b.height - 1 - y) * b.stride;
    for (long x = 0; x < b.width; x++)
      if (!readPixel(b, row, x, pixels + ((size_t)y * b.width + x) * 4)) return false;
  }
  return true;
}

// A 32-bit picture whose alpha is zero everywhere was written without alpha: it is opaque.
bool opaqueIfAlphaUnused(uint8_t *pixels, size_t count) {
  for (size_t i = 0; i < count; i++)
    if (pixels[i * 4 + 3]) return false;
  for (size_t i = 0; i < count; i++) pixels[i * 4 + 3] = 255;
  return true;
}

} // namespace

bool decodeBmp(const uint8_t *data, size_t size, KDecodedImage &out) {
  BmpLayout b{};
  if (!readLayout(data, size, b)) return false;
  uint8_t *pixels = allocatePicture(b.width, b.height);
  if (!pixels) return false;
  if (!readPixels(data, b, pixels)) {
    free(pixels);
    return false;
  }
  bool alpha = b.alpha.bits > 0 && !opaqueIfAlphaUnused(pixels, (size_t)b.width * b.height);
  out = KDecodedImage{pixels, b.width, b.height, alpha ? 4 : 3};
  return true;
}
