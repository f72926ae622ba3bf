// PNG pictures through libpng: every colour type and depth, turned into 8-bit RGBA. The whole
// file is read, up to its end chunk, so a cut file is refused.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "KImageDecoders.h"
#include "KImageFile.h"

namespace {

struct Source {
  const uint8_t *p;
  size_t left;
};

void readBytes(png_structp png, png_bytep out, size_t count) {
  Source *source = (Source *)png_get_io_ptr(png);
  if (count > source->left) png_error(png, "file cut short");
  memcpy(out, source->p, count);
  source->p += count;
  source->left -= count;
}

// Errors end the decode; warnings (a damaged ancillary chunk) do not, and neither prints.
void fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignore(png_structp, png_const_charp) {}

// The channels stored in the file; a transparency chunk counts as alpha.
int channelsOf(png_structp png, png_infop info) {
  int type = png_get_color_type(png, info);
  int colour = type & PNG_COLOR_MASK_COLOR ? 3 : 1;
  bool alpha = type & PNG_COLOR_MASK_ALPHA || png_get_valid(png, info, PNG_INFO_tRNS);
  return colour + (alpha ? 1 : 0);
}

// Any colour type or depth to 8-bit RGBA; opaque pictures get alpha 255.
void askForRgba(png_structp png) {
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
}

// Kept out of decodePng, so that no object with a destructor lives across the long jump.
bool readPng(png_structp png, png_infop info, KDecodedImage &out) {
  uint8_t *volatile pixels = nullptr;
  png_bytep *volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    free(rows);
    free(pixels);
    return false;
  }
  png_set_user_limits(png, KImageFile::MAX_SIDE, KImageFile::MAX_SIDE);
  png_read_info(png, info);
  long width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  int channels = channelsOf(png, info);
  askForRgba(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != (size_t)width * 4) return false;
  pixels = allocatePicture(width, height);
  rows = (png_bytep *)malloc(sizeof(png_bytep) * (size_t)height);
  if (!pixels || !rows) png_error(png, "out of memory");
  for (long y = 0; y < height; y++) rows[y] = pixels + (size_t)y * width * 4;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  free(rows);
  out = KDecodedImage{pixels, width, height, channels};
  return true;
}

} // namespace

bool decodePng(const uint8_t *data, size_t size, KDecodedImage &out) {
  if (size < 8 || png_sig_cmp(data, 0, 8)) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignore);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  Source source{data, size};
  bool decoded = false;
  if (info) {
    png_set_read_fn(png, &source, readBytes);
    decoded = readPng(png, info, out);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return decoded;
}
