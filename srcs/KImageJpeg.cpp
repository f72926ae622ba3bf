// JPEG pictures through libjpeg-turbo: grey or colour, decoded straight into RGBA. Damaged or
// cut data, which the library would only warn about and fill in, is refused.
#include <cstdio> // jpeglib.h needs FILE

#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>

#include "KImageDecoders.h"
#include "KImageFile.h"

namespace {

struct Errors {
  jpeg_error_mgr manager;
  jmp_buf jump;
};

void fail(j_common_ptr jpeg) { longjmp(((Errors *)jpeg->err)->jump, 1); }

// Level -1 is a warning about the data (a premature end, a corrupt segment): as bad as an error.
void message(j_common_ptr jpeg, int level) {
  if (level < 0) fail(jpeg);
}

// Kept out of decodeJpeg, so that no object with a destructor lives across the long jump.
bool readJpeg(jpeg_decompress_struct &jpeg, Errors &errors, const uint8_t *data, size_t size,
              KDecodedImage &out) {
  uint8_t *volatile pixels = nullptr;
  if (setjmp(errors.jump)) {
    free(pixels);
    return false;
  }
  jpeg_mem_src(&jpeg, data, (unsigned long)size);
  if (jpeg_read_header(&jpeg, TRUE) != JPEG_HEADER_OK) return false;
  long width = jpeg.image_width, height = jpeg.image_height;
  int channels = jpeg.num_components == 1 ? 1 : 3;
  // The library's own work (progressive pictures keep every coefficient) stays under the ceiling
  // too.
  jpeg.mem->max_memory_to_use = KImageFile::MAX_BYTES;
  jpeg.out_color_space = JCS_EXT_RGBA;
  pixels = allocatePicture(width, height);
  if (!pixels) return false;
  jpeg_start_decompress(&jpeg);
  if ((long)jpeg.output_width != width || (long)jpeg.output_height != height)
    fail((j_common_ptr)&jpeg);
  while (jpeg.output_scanline < jpeg.output_height) {
    JSAMPROW row = pixels + (size_t)jpeg.output_scanline * width * 4;
    jpeg_read_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_decompress(&jpeg);
  out = KDecodedImage{pixels, width, height, channels};
  return true;
}

} // namespace

bool decodeJpeg(const uint8_t *data, size_t size, KDecodedImage &out) {
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return false;
  jpeg_decompress_struct jpeg;
  Errors errors;
  jpeg.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = fail;
  errors.manager.emit_message = message;
  jpeg_create_decompress(&jpeg);
  bool decoded = readJpeg(jpeg, errors, data, size, out);
  jpeg_destroy_decompress(&jpeg);
  return decoded;
}
