// KSound modules: IT, XM, S3M and MOD files rendered by DUMB into the stream's ring.
#include <cstring>

#include <dumb.h>

#include "KSound.h"
#include "dsound.h"

namespace {

const DWORD kStreamBytes = 32768;
const DWORD kHalfBytes = 16384;
const long kHalfFrames = 4096; // 2 channels x 16 bits: one half

bool hasTag(const unsigned char *image, unsigned long size, unsigned long at, const char *tag) {
  size_t length = std::strlen(tag);
  return at + length <= size && std::memcmp(image + at, tag, length) == 0;
}

// A MOD has no header tag, only the format tag at 1080 ("M.K.", "8CHN", ...): anything
// without one is not taken for a module. "FLT8" is refused too: DUMB's reader for its
// paired patterns crashes on every such file, even a well-formed one.
bool isMod(const unsigned char *image, unsigned long size) {
  static const char *const tags[] = {"M.K.", "M!K!", "FLT4", "4CHN",
                                     "6CHN", "8CHN", "CD81", "OKTA"};
  for (const char *tag : tags)
    if (hasTag(image, size, 1080, tag)) return true;
  return size >= 1084 && image[1082] == 'C' && image[1083] == 'H'; // "xxCH"
}

// Picks the reader by the file's own tags.
DUH *readModule(const unsigned char *image, unsigned long size) {
  DUH *(*reader)(DUMBFILE *) = nullptr;
  if (hasTag(image, size, 0, "IMPM"))
    reader = dumb_read_it;
  else if (hasTag(image, size, 0, "Extended Module: "))
    reader = dumb_read_xm;
  else if (hasTag(image, size, 44, "SCRM"))
    reader = dumb_read_s3m;
  else if (isMod(image, size))
    reader = dumb_read_mod;
  if (!reader) return nullptr;
  DUMBFILE *file = dumbfile_open_memory(reinterpret_cast<const char *>(image), long(size));
  if (!file) return nullptr;
  DUH *duh = reader(file);
  dumbfile_close(file);
  return duh;
}

} // namespace

bool KSound::loadModule(const char *filename) {
  _type = 1;
  killThread();
  killModule();
  freeAllocatedData();
  unsigned long size = loadFileToRam(filename);
  if (size == 0) return false;
  _moduleStorage._moduleData = readModule(_wavData, size);
  if (_moduleStorage._moduleData)
    _moduleStorage._moduleRenderer = dumb_it_start_at_order(_moduleStorage._moduleData, 2, 0);
  freeAllocatedData(); // DUMB keeps its own copy of the module
  if (!_moduleStorage._moduleRenderer) {
    killModule();
    return false;
  }
  _moduleStorage.allowLooping = true;
  _oggFormatEx.wFormatTag = 1;
  _oggFormatEx.nChannels = 2;
  _oggFormatEx.nSamplesPerSec = uint32_t(gFREQUENCY);
  _oggFormatEx.wBitsPerSample = 16;
  _oggFormatEx.nBlockAlign = 4;
  _oggFormatEx.nAvgBytesPerSec = uint32_t(gFREQUENCY) * 4;
  _oggFormatEx.cbSize = 18;
  _waveFormatEx = &_oggFormatEx;
  if (!createDSoundBuffer(0, kStreamBytes, true)) {
    killModule();
    return false;
  }
  _oggCompleted = false;
  setPan(0);
  return true;
}

void KSound::fillModBuffer(unsigned long half) {
  if (!_directSoundBuffer[0]) return;
  void *data, *second;
  DWORD bytes, secondBytes;
  if (FAILED(_directSoundBuffer[0]->Lock(DWORD(half * kHalfBytes), kHalfBytes, &data, &bytes,
                                         &second, &secondBytes, 0))) {
    _directSoundBuffer[0]->Restore();
    return;
  }
  std::memset(data, 0, bytes);
  if (!_oggCompleted) {
    std::lock_guard<std::recursive_mutex> lock(_decoderLock);
    if (_moduleStorage._moduleRenderer)
      duh_render(_moduleStorage._moduleRenderer, 16, 0, 1.0f, 65536.0f / gFREQUENCY, kHalfFrames,
                 data);
  }
  _directSoundBuffer[0]->Unlock(data, bytes, second, secondBytes);
  if (_oggCompleted) stopModule();
}

void KSound::setModulePosition(int order) {
  std::lock_guard<std::recursive_mutex> lock(_decoderLock);
  if (!_moduleStorage._moduleData || !_moduleStorage._moduleRenderer) return;
  duh_end_sigrenderer(_moduleStorage._moduleRenderer);
  _moduleStorage._moduleRenderer = dumb_it_start_at_order(_moduleStorage._moduleData, 2, order);
}

void KSound::stopModule() {
  if (!_directSoundBuffer[0]) return;
  _directSoundBuffer[0]->Stop();
  killThread();
  clearSoundBuffer(0, kStreamBytes);
  {
    // The refill thread stops a module that ended while the game may move its position.
    std::lock_guard<std::recursive_mutex> lock(_decoderLock);
    setModulePosition(0);
    if (_moduleStorage._moduleRenderer)
      dumb_it_set_loop_callback(duh_get_it_sigrenderer(_moduleStorage._moduleRenderer), nullptr,
                                nullptr);
  }
  _oggCompleted = true;
}

void KSound::killModule() {
  std::lock_guard<std::recursive_mutex> lock(_decoderLock);
  if (_moduleStorage._moduleRenderer) {
    duh_end_sigrenderer(_moduleStorage._moduleRenderer);
    _moduleStorage._moduleRenderer = nullptr;
  }
  if (_moduleStorage._moduleData) {
    unload_duh(_moduleStorage._moduleData);
    _moduleStorage._moduleData = nullptr;
  }
}
