// Picture files for both renderers' loaders: the whole file read through KResource, decoded as
// the format its own name gives.
#include <vector>

#include "KImageFile.h"
#include "KResource.h"

namespace {

// Whole file through KResource; false when it cannot be opened, is empty or reads short.
bool readWholeFile(const char *filename, std::vector<unsigned char> &bytes) {
  KResource file;
  int size = 0;
  if (file.open(filename, K_RES_READ) != K_RES_OK) return false;
  if (file.seek(K_RES_END, 0) != K_RES_OK || file.tell(size) != K_RES_OK || size <= 0) return false;
  bytes.resize((size_t)size);
  return file.seek(K_RES_BEGIN, 0) == K_RES_OK &&
         file.read(bytes.data(), (unsigned int)size) == K_RES_OK;
}

} // namespace

KImageFile *KImageFile::load(const char *fileName, bool ignoreCase) {
  KImageFormat format;
  std::vector<unsigned char> bytes;
  if (!formatOfName(fileName, ignoreCase, format) || !readWholeFile(fileName, bytes))
    return nullptr;
  KImageFile *image = new KImageFile;
  if (image->decode(bytes.data(), bytes.size(), format)) return image;
  delete image;
  return nullptr;
}
