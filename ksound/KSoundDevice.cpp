// KSound: the shared device, the curves, volume and pan, construction and destruction.
#include <cmath>

#include <dumb.h>

#include "KSound.h"
#include "dsound.h"
#include "zy_thread.h"

float gFREQUENCY = 44100.0f;
bool _acceleratedDSound = true;
long fechnerTable[101];
long panningtable[202];

IDirectSound *KSound::directSoundPtr = nullptr;
int KSound::_instanceCount = 0;
std::atomic<long> KSound::_masterSFXvolume{100};
std::atomic<long> KSound::_masterMUSICvolume{100};
ov_callbacks KSound::ogg_CallBacks = {KSound::oggRead, KSound::oggSeek, KSound::oggClose,
                                      KSound::oggTell};

KSound::KSound()
    : _soundBufferCount(1), _channelVolume(80), _loopState(0), _type(0), _whatPartIsPlaying(1),
      _currentBeingPlayed(0), _moduleStorage{nullptr, nullptr, false}, _waveFormatEx(nullptr),
      _wavDataStart(nullptr), _wavLength(0), _oggFormatEx(), _vorbisFile(), _oggFile(false),
      _directSoundBuffer(), _dsNotify(nullptr), hEvents(), hThread(nullptr), threadID(0),
      _terminate(false), _terminated(false), _ready(false), _oggCompleted(false), _oggPosition(0),
      _oggFileLen(0), _wavData(nullptr), _counted(false) {
  if (_instanceCount == 0)
    init();
  else
    _instanceCount++;
  _counted = _instanceCount > 0;
}

// Only objects that were counted are uncounted: an object made while the device could not
// open must not take the count below the objects that share the device.
KSound::~KSound() {
  if (_counted) _instanceCount--;
  killThread();
  killModule();
  for (short slot = 0; slot < 9; ++slot) releaseSlot(slot);
  freeAllocatedData();
  if (_instanceCount <= 0) {
    dumb_exit();
    if (directSoundPtr) directSoundPtr->Release();
    directSoundPtr = nullptr;
  }
}

// There is no owner window for sound here: the device belongs to the process.
void KSound::init() {
  precalcTable();
  void *owner = nullptr;
  if (FAILED(DirectSoundCreate(nullptr, &directSoundPtr, nullptr))) {
    directSoundPtr = nullptr;
    return;
  }
  DSCAPS caps = {sizeof(DSCAPS), 0};
  directSoundPtr->GetCaps(&caps);
  gFREQUENCY = 44100.0f;
  _acceleratedDSound = true;
  if (caps.dwFlags & DSCAPS_EMULDRIVER) {
    gFREQUENCY = 22050.0f;
    _acceleratedDSound = false;
  }
  if (FAILED(directSoundPtr->SetCooperativeLevel(owner, DSSCL_PRIORITY))) return;
  directSoundPtr->SetSpeakerConfig(DSSPEAKER_STEREO);
  dumb_register_stdfiles();
  dumb_it_max_to_mix = 64;
  _instanceCount++;
}

static long clampLong(long value, long low, long high) {
  return value < low ? low : (value > high ? high : value);
}

// Attenuations in hundredths of a decibel, truncated toward zero. Volume: each factor 0.92
// below full costs one decibel. Pan: the same rule with 0.954999 for the attenuated side.
void KSound::precalcTable() {
  fechnerTable[0] = -10000;
  for (int i = 1; i <= 100; ++i)
    fechnerTable[i] = clampLong(long(100.0 * std::log(i / 100.0) / -std::log(0.92)), -10000, 0);
  panningtable[0] = -10000;
  panningtable[200] = 10000;
  for (int i = 1; i <= 100; ++i) {
    long a = long(100.0 * std::log(i / 100.0) / -std::log(0.954999));
    panningtable[i] = clampLong(a, -10000, 10000);
    panningtable[200 - i] = clampLong(-a, -10000, 10000);
  }
}

void KSound::setVolume(int volume) {
  _channelVolume = int(clampLong(volume, 0, 100));
  for (short i = 0; i < _soundBufferCount && _directSoundBuffer[i]; ++i) {
    long master = _type == 0 ? _masterSFXvolume.load() : _masterMUSICvolume.load();
    long v = clampLong(master * _channelVolume / 100, 0, 99);
    _directSoundBuffer[i]->SetVolume(fechnerTable[v]);
  }
}

void KSound::setPan(long pan) {
  pan = clampLong(pan, -100, 100);
  for (short i = 0; i < _soundBufferCount && _directSoundBuffer[i]; ++i)
    _directSoundBuffer[i]->SetPan(panningtable[pan + 100]);
}

void KSound::setGlobalVolumes(int musicVolume, int sfxVolume) {
  if (musicVolume >= 0) _masterMUSICvolume = musicVolume;
  if (sfxVolume >= 0) _masterSFXvolume = sfxVolume;
}
