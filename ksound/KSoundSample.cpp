// KSound samples: WAV and Ogg Vorbis loading, buffer copies, play, stop, status, recovery.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dumb.h>

#include "KSound.h"
#include "dsound.h"
#include "zy_thread.h"

namespace {

const unsigned long kSpareBytes = 1024; // zeroed bytes kept after every file image
const int kOggScratch = 16384;

// Locks a whole buffer; the two-part result of a whole lock is always one part.
bool lockWhole(IDirectSoundBuffer *buffer, void **data, DWORD *bytes) {
  void *second;
  DWORD secondBytes;
  return !FAILED(buffer->Lock(0, 0, data, bytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER));
}

// Decodes with ov_read (little-endian, 16-bit, signed) until a call returns 0 or less;
// into `out` (limited to `room` bytes) or, with no `out`, only counting. Returns the bytes.
unsigned long decodeAll(OggVorbis_File *file, char *out, unsigned long room) {
  char scratch[kOggScratch];
  unsigned long total = 0;
  int bitstream = 0;
  for (;;) {
    if (out && total >= room) break;
    long asked = out ? long(room - total < kOggScratch ? room - total : kOggScratch) : kOggScratch;
    long got = ov_read(file, out ? out + total : scratch, int(asked), 0, 2, 1, &bitstream);
    if (got <= 0) break;
    total += (unsigned long)got;
  }
  return total;
}

// Opens a file and hands it to libvorbisfile, which then owns it.
bool openOgg(const char *filename, OggVorbis_File *file) {
  FILE *f = std::fopen(filename, "rb");
  if (!f) return false;
  if (ov_open(f, file, nullptr, 0) != 0) {
    std::fclose(f); // a failed ov_open leaves the file to us
    return false;
  }
  return true;
}

} // namespace

void KSound::releaseSlot(short slot) {
  if (!_directSoundBuffer[slot]) return;
  _directSoundBuffer[slot]->Stop();
  _directSoundBuffer[slot]->Release();
  _directSoundBuffer[slot] = nullptr;
}

bool KSound::loadSample(const char *filename, int volume, bool loop, short copyCount) {
  _type = 0;
  _currentBeingPlayed = 0;
  killThread();
  killModule();
  freeAllocatedData();
  _loopState = loop ? 1 : 0;
  _channelVolume = volume;
  _soundBufferCount = copyCount < 1 ? 1 : (copyCount > 9 ? 9 : copyCount);
  for (short slot = 0; slot < 9; ++slot) releaseSlot(slot);
  _ready = true;
  if (!filename) return false;
  if (std::strstr(filename, ".ogg")) return loadOggSample(filename);

  if (loadFileToRam(filename) == 0) return false;
  if (ParseWavHeader(_wavData, _oggFileLen) <= 0) {
    freeAllocatedData();
    return false;
  }
  for (short i = 0; i < _soundBufferCount; ++i) {
    if (!createDSoundBuffer(i, _wavLength, false)) {
      freeAllocatedData();
      return false;
    }
    void *data;
    DWORD bytes;
    if (!lockWhole(_directSoundBuffer[i], &data, &bytes)) {
      releaseSlot(i);
      freeAllocatedData();
      return false;
    }
    std::memcpy(data, _wavDataStart, bytes < _wavLength ? bytes : _wavLength);
    _directSoundBuffer[i]->Unlock(data, bytes, nullptr, 0);
  }
  _ready = true;
  setPan(0);
  return true;
}

long KSound::flipLong(long value) { return value; }

// No RIFF chunk walk: the first "fmt " and the first "data" found anywhere win.
long KSound::ParseWavHeader(unsigned char *image, unsigned long size) {
  _waveFormatEx = nullptr;
  _wavDataStart = nullptr;
  for (unsigned long p = 0; p + 5 < size; ++p) {
    if (!_waveFormatEx && std::memcmp(image + p, "fmt ", 4) == 0) {
      _waveFormatEx = reinterpret_cast<KWaveFormat *>(image + p + 8);
    } else if (std::memcmp(image + p, "data", 4) == 0) {
      _wavDataStart = image + p + 8;
      // The length is read only where its four bytes lie inside the image.
      unsigned long following = p + 8 <= size ? size - (p + 8) : 0;
      uint32_t length = 0;
      if (p + 8 <= size)
        length = uint32_t(image[p + 4]) | uint32_t(image[p + 5]) << 8 |
                 uint32_t(image[p + 6]) << 16 | uint32_t(image[p + 7]) << 24;
      unsigned long declared = (unsigned long)flipLong(long(length));
      _wavLength = uint32_t(declared < following ? declared : following);
      return long(_wavLength);
    }
  }
  return -1;
}

bool KSound::loadOggSample(const char *filename) {
  freeAllocatedData();
  OggVorbis_File file;
  if (!openOgg(filename, &file)) return false;
  unsigned long total = decodeAll(&file, nullptr, 0);
  ov_clear(&file);
  if (total == 0 || total > 0xFFFFFFFFul) return false;

  _wavLength = uint32_t(total);
  if (!openOgg(filename, &file)) return false;
  vorbis_info *info = ov_info(&file, -1);
  if (!info) {
    ov_clear(&file);
    return false;
  }
  KWaveFormat format;
  format.wFormatTag = 1;
  format.nChannels = uint16_t(info->channels);
  format.nSamplesPerSec = uint32_t(info->rate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = uint16_t(info->channels * 2);
  format.nAvgBytesPerSec = uint32_t(info->channels * info->rate * 2);
  format.cbSize = 20;

  _wavData = static_cast<unsigned char *>(std::calloc(_wavLength, 1));
  _wavDataStart = _wavData;
  bool loaded = _wavData && decodeAll(&file, reinterpret_cast<char *>(_wavData), _wavLength) > 0;
  ov_clear(&file);
  _waveFormatEx = &format; // the buffers are made in the decoded format
  for (short i = 0; loaded && i < _soundBufferCount; ++i) {
    void *data;
    DWORD bytes;
    if (!createDSoundBuffer(i, _wavLength, false) ||
        !lockWhole(_directSoundBuffer[i], &data, &bytes)) {
      loaded = false;
      break;
    }
    std::memcpy(data, _wavData, bytes < _wavLength ? bytes : _wavLength);
    _directSoundBuffer[i]->Unlock(data, bytes, nullptr, 0);
  }
  _waveFormatEx = nullptr; // the record lived on this stack
  if (!loaded) {
    freeAllocatedData();
    return false;
  }
  setPan(0);
  return true;
}

IDirectSoundBuffer *KSound::createDSoundBuffer(short slot, unsigned long size, bool notify) {
  if (!directSoundPtr) return nullptr;
  DSBUFFERDESC desc = {};
  desc.dwSize = 20;
  desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                 DSBCAPS_LOCSOFTWARE | DSBCAPS_GLOBALFOCUS |
                 (notify ? DSBCAPS_CTRLPOSITIONNOTIFY : 0);
  desc.dwBufferBytes = DWORD(size);
  WAVEFORMATEX format = {};
  if (_waveFormatEx) { // the engine's record, field by field in DirectSound's own
    const KWaveFormat &f = *_waveFormatEx;
    format = {f.wFormatTag,  f.nChannels,      f.nSamplesPerSec, f.nAvgBytesPerSec,
              f.nBlockAlign, f.wBitsPerSample, f.cbSize};
    desc.lpwfxFormat = &format;
  }
  releaseSlot(slot);
  if (FAILED(directSoundPtr->CreateSoundBuffer(&desc, &_directSoundBuffer[slot], nullptr))) {
    _directSoundBuffer[slot] = nullptr;
    return nullptr;
  }
  clearSoundBuffer(slot, long(size));
  return _directSoundBuffer[slot];
}

void KSound::clearSoundBuffer(short slot, long) {
  if (!_directSoundBuffer[slot]) return;
  void *data;
  DWORD bytes;
  if (!lockWhole(_directSoundBuffer[slot], &data, &bytes)) return;
  std::memset(data, 0, bytes);
  _directSoundBuffer[slot]->Unlock(data, bytes, nullptr, 0);
}

unsigned long KSound::loadFileToRam(const char *filename) {
  if (!filename) return 0;
  FILE *f = std::fopen(filename, "rb");
  if (!f) return 0;
  long size = (std::fseek(f, 0, SEEK_END) == 0) ? std::ftell(f) : -1;
  if (size <= 0 || (unsigned long)size > 0xFFFFFFFFul - kSpareBytes) {
    std::fclose(f);
    return 0;
  }
  std::free(_wavData);
  _wavData = static_cast<unsigned char *>(std::calloc(size_t(size) + kSpareBytes, 1));
  if (!_wavData) {
    std::fclose(f);
    return 0;
  }
  std::fseek(f, 0, SEEK_SET);
  size_t read = std::fread(_wavData, 1, size_t(size), f);
  std::fclose(f);
  if (read != size_t(size)) { // a file that shrank while read is not loaded
    freeAllocatedData();
    return 0;
  }
  _oggPosition = 0;
  _oggFileLen = uint32_t(size);
  return (unsigned long)size;
}

void KSound::playSample() {
  if (!_directSoundBuffer[0]) return;
  _currentBeingPlayed++;
  if (_currentBeingPlayed >= _soundBufferCount) _currentBeingPlayed = 0;
  IDirectSoundBuffer *copy = _directSoundBuffer[_currentBeingPlayed];
  if (!copy) return;
  copy->SetCurrentPosition(0);
  setVolume(_channelVolume);
  if (copy->Play(0, 0, _loopState == 1 ? DSBPLAY_LOOPING : 0) == DSERR_BUFFERLOST) restoreSample();
}

void KSound::stopSample() {
  if (!_directSoundBuffer[0]) return;
  for (short i = 0; i < _soundBufferCount; ++i)
    if (_directSoundBuffer[i]) _directSoundBuffer[i]->Stop();
}

bool KSound::isPlaying() {
  if (!_ready || !_directSoundBuffer[0]) return false;
  const DWORD sounding =
      DSBSTATUS_PLAYING | DSBSTATUS_LOOPING | DSBSTATUS_LOCHARDWARE | DSBSTATUS_LOCSOFTWARE;
  for (short i = 0; i < _soundBufferCount; ++i) {
    DWORD status;
    if (_directSoundBuffer[i] && !FAILED(_directSoundBuffer[i]->GetStatus(&status)) &&
        (status & sounding))
      return true;
  }
  return false;
}

void KSound::restoreSample() {
  for (short i = 0; i < _soundBufferCount; ++i)
    if (!_directSoundBuffer[i] || FAILED(_directSoundBuffer[i]->Restore())) return;
  for (short i = 0; i < _soundBufferCount; ++i) {
    void *data;
    DWORD bytes;
    if (!lockWhole(_directSoundBuffer[i], &data, &bytes)) {
      releaseSlot(i);
      freeAllocatedData();
      return;
    }
    if (_wavDataStart) std::memcpy(data, _wavDataStart, bytes < _wavLength ? bytes : _wavLength);
    _directSoundBuffer[i]->Unlock(data, bytes, nullptr, 0);
  }
}

void KSound::freeAllocatedData() {
  if (_dsNotify) {
    _dsNotify->Release();
    _dsNotify = nullptr;
  }
  for (short slot = 0; slot < 9; ++slot) releaseSlot(slot);
  if (_oggFile) ov_clear(&_vorbisFile);
  std::free(_wavData);
  _wavData = nullptr;
  _wavDataStart = nullptr;
  _wavLength = 0;
  _waveFormatEx = nullptr;
  _oggFile = false;
  _oggPosition = 0;
  _oggFileLen = 0;
}
