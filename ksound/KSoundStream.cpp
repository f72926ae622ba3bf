// KSound streams: the in-memory Ogg reader, loading, the refill thread and its halves.
#include <cstring>
#include <mutex>
#include <new>
#include <set>
#include <string>

#include "KMiscTools.h"
#include "KSound.h"
#include "dsound.h"
#include "zy_thread.h"

namespace {

const DWORD kStreamBytes = 32768; // the ring: two halves
const DWORD kHalfBytes = 16384;
const unsigned kWaitMs = 50;

KSound *soundOf(void *source) { return static_cast<KSound *>(source); }

// A file that is not Ogg Vorbis is said once a run, by name: the menu loads its music again after
// every game, and a damaged file would otherwise stop the player with the same box each time.
void sayNotOgg(const char *filename) {
  static std::mutex lock;
  static std::set<std::string> said;
  {
    std::lock_guard<std::mutex> hold(lock);
    if (!said.insert(filename).second) return;
  }
  const std::string text = std::string("error could not detect ogg file: ") + filename;
  KMiscTools::messageBox("error", text.c_str());
}

} // namespace

// ---- the memory reader behind ogg_CallBacks

size_t KSound::oggRead(void *dest, size_t size, size_t count, void *source) {
  KSound *self = soundOf(source);
  if (!self || (count && size > size_t(-1) / count)) return size_t(-1);
  size_t request = size * count;
  if (self->_oggPosition >= self->_oggFileLen) {
    self->_oggPosition = 0; // end of data; the next read starts over
    return 0;
  }
  size_t left = self->_oggFileLen - self->_oggPosition;
  size_t bytes = request < left ? request : left;
  std::memcpy(dest, self->_wavData + self->_oggPosition, bytes);
  self->_oggPosition += uint32_t(bytes);
  return bytes;
}

// Offsets are taken modulo 2^32, as the position is; the result never passes the end.
int KSound::oggSeek(void *source, ogg_int64_t offset, int origin) {
  KSound *self = soundOf(source);
  if (!self) return -1;
  uint32_t low = uint32_t(uint64_t(offset));
  switch (origin) {
  case SEEK_SET: self->_oggPosition = low; break;
  case SEEK_CUR: self->_oggPosition += low; break;
  case SEEK_END: self->_oggPosition = self->_oggFileLen + low; break;
  default: self->_oggPosition = self->_oggFileLen; break;
  }
  if (self->_oggPosition > self->_oggFileLen) self->_oggPosition = self->_oggFileLen;
  return 0;
}

// The image belongs to the KSound.
int KSound::oggClose(void *) { return -1; }

long KSound::oggTell(void *source) {
  KSound *self = soundOf(source);
  return self ? long(self->_oggPosition) : -1;
}

// ---- loading and control

bool KSound::loadStream(const char *filename) {
  _type = 1;
  killThread();
  killModule();
  freeAllocatedData();
  if (loadFileToRam(filename) == 0) return false;
  vorbis_info *info = nullptr;
  if (ov_open_callbacks(this, &_vorbisFile, nullptr, 0, ogg_CallBacks) == 0)
    info = ov_info(&_vorbisFile, -1);
  if (!info) {
    sayNotOgg(filename);
    freeAllocatedData();
    return false;
  }
  _oggFormatEx.wFormatTag = 1;
  _oggFormatEx.nChannels = uint16_t(info->channels);
  _oggFormatEx.nSamplesPerSec = uint32_t(info->rate);
  _oggFormatEx.wBitsPerSample = 16;
  _oggFormatEx.nBlockAlign = uint16_t(info->channels * 2);
  _oggFormatEx.nAvgBytesPerSec = uint32_t(info->channels * info->rate * 2);
  _oggFormatEx.cbSize = 18;
  _oggFile = true;
  _waveFormatEx = &_oggFormatEx;
  if (!createDSoundBuffer(0, kStreamBytes, true)) {
    freeAllocatedData();
    return false;
  }
  _oggCompleted = false;
  ov_time_seek(&_vorbisFile, 0.0);
  setPan(0);
  return true;
}

void KSound::playStream(bool loop) {
  killThread();
  if (!_directSoundBuffer[0]) return;
  {
    std::lock_guard<std::recursive_mutex> lock(_decoderLock);
    if (_oggFile) ov_time_seek(&_vorbisFile, 0.0);
  }
  _directSoundBuffer[0]->Stop();
  _directSoundBuffer[0]->SetCurrentPosition(0);
  zy::yield();
  startNotifiers();
  zy::yield();
  if (_directSoundBuffer[0]->Play(0, 0, DSBPLAY_LOOPING) == DSERR_BUFFERLOST) restoreSample();
  _oggCompleted = false;
  _loopState = loop ? 1 : 0;
  setVolume(_channelVolume);
  _terminate = false;
}

void KSound::stopStream() {
  if (!_directSoundBuffer[0]) return;
  _directSoundBuffer[0]->Stop();
  clearSoundBuffer(0, kStreamBytes);
  std::lock_guard<std::recursive_mutex> lock(_decoderLock);
  if (_oggFile) ov_time_seek(&_vorbisFile, 0.0);
}

void KSound::fillOggBuffer(unsigned long half) {
  if (!_directSoundBuffer[0]) return;
  void *data, *second;
  DWORD bytes, secondBytes;
  if (FAILED(_directSoundBuffer[0]->Lock(DWORD(half * kHalfBytes), kHalfBytes, &data, &bytes,
                                         &second, &secondBytes, 0))) {
    _directSoundBuffer[0]->Restore();
    return;
  }
  std::memset(data, 0, bytes);
  long result = 0;
  if (!_oggCompleted) {
    std::lock_guard<std::recursive_mutex> lock(_decoderLock);
    DWORD written = 0;
    int bitstream = 0;
    bool rewound = false; // the file was rewound and has given nothing since
    while (!_terminate && written < bytes) {
      try {
        result = ov_read(&_vorbisFile, static_cast<char *>(data) + written, int(bytes - written), 0,
                         2, 1, &bitstream);
      } catch (...) { result = -1; }
      if (result > 0) {
        written += DWORD(result);
        rewound = false;
        continue;
      }
      // End of the file or a decoder error. A one-shot stream ends with the rest of this half
      // silent.
      if (!_loopState) {
        stopStream();
        _oggCompleted = true;
        break;
      }
      // A looping stream goes on from the file's start in this same half, so the loop has no
      // gap; after a decoder error, or from a file that gives nothing, the half stays silent.
      ov_time_seek(&_vorbisFile, 0.0);
      _oggCompleted = false;
      if (result < 0 || rewound) break;
      rewound = true;
    }
  }
  if (result < 0) std::memset(data, 0, bytes);
  _directSoundBuffer[0]->Unlock(data, bytes, second, secondBytes);
  if (_oggCompleted) stopStream();
}

// ---- the refill thread

bool KSound::startNotifiers() {
  _ready = false;
  if (!_directSoundBuffer[0]) return false;
  _directSoundBuffer[0]->Stop();
  hThread = zy::Thread::start(doubleBufferThread, this);
  if (!hThread) return false;
  threadID = hThread->id();
  while (!_ready) zy::yield();
  hThread->raisePriority();
  return true;
}

// Events here are anonymous objects, so no two threads can share one: they need no labels.
void KSound::doubleBufferThread(void *sound) {
  KSound *self = static_cast<KSound *>(sound);
  void *notify = nullptr;
  if (FAILED(self->_directSoundBuffer[0]->QueryInterface(IID_IDirectSoundNotify, &notify))) {
    self->_ready = true;
    return;
  }
  self->_dsNotify = static_cast<IDirectSoundNotify *>(notify);
  self->hEvents[0] = new (std::nothrow) zy::Event;
  self->hEvents[1] = new (std::nothrow) zy::Event;
  if (!self->hEvents[0] || !self->hEvents[1]) {
    self->_ready = true;
    return;
  }
  DSBPOSITIONNOTIFY positions[2] = {{0, self->hEvents[0]}, {kHalfBytes, self->hEvents[1]}};
  if (FAILED(self->_dsNotify->SetNotificationPositions(2, positions))) {
    self->_ready = true;
    return;
  }
  self->_terminate = false;
  self->_terminated = false;
  self->_ready = true;

  long knownMaster = -1;
  for (;;) {
    long master = _masterMUSICvolume;
    if (master != knownMaster) {
      self->setVolume(self->_channelVolume);
      knownMaster = master;
    }
    // The cursor passed offset 0: half 1 is free. Passed 16384: half 0 is free.
    for (unsigned long event = 0; event < 2; ++event) {
      if (!self->hEvents[event]->wait(kWaitMs)) continue;
      if (self->_moduleStorage._moduleData)
        self->fillModBuffer(1 - event);
      else
        self->fillOggBuffer(1 - event);
      zy::yield();
    }
    if (!self->_directSoundBuffer[0] || self->_terminate) break;
    zy::yield();
  }
  self->_terminated = true;
}

void KSound::killThread() {
  _ready = false;
  _terminate = true;
  if (_directSoundBuffer[0]) _directSoundBuffer[0]->Stop();
  if (hThread && !hThread->isCurrent()) {
    hThread->join();
    if (_dsNotify) {
      // The buffer outlives the events: it must not set them once they are gone.
      _dsNotify->SetNotificationPositions(0, nullptr);
      _dsNotify->Release();
      _dsNotify = nullptr;
    }
    for (zy::Event *&event : hEvents) {
      delete event;
      event = nullptr;
    }
    delete hThread;
    hThread = nullptr;
  }
  zy::yield();
}
