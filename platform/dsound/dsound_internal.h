#ifndef ZY_DSOUND_INTERNAL_H
#define ZY_DSOUND_INTERNAL_H

// The objects behind the DirectSound interfaces.

#include <atomic>
#include <mutex>
#include <vector>

#include <SDL.h>

#include "dsound_mixer.h"
#include "dsound_testing.h"

struct DsDevice : IDirectSound {
  std::mutex mutex; // guards every buffer's Voice and the buffer list
  std::vector<struct DsBuffer *> buffers;
  std::vector<float> scratch;      // the float accumulator
  std::vector<zy::Voice *> voices; // this mix's voices; kept, so mixing allocates nothing
  std::atomic<int> references{1};  // the creator's, plus one per live buffer
  SDL_AudioDeviceID output = 0;    // 0 with the manual output

  void mix(int16_t *pcm, size_t frames); // call with mutex held
  void addReference() { ++references; }
};

struct DsBuffer : IDirectSoundBuffer {
  DsDevice *device = nullptr;
  std::vector<uint8_t> memory;
  DWORD flags = 0; // DSBCAPS_ flags of the description
  zy::Voice voice;
  std::atomic<int> references{1};
  std::atomic<unsigned long> unlocks{0};
};

// The output's pacing (dsoundTestPaceOutput): the callback waits before it mixes `frames`
// until the frames have handed it that many, and reports them once mixed.
void dsoundPaceWait(size_t frames);
void dsoundPaceMixed(size_t frames);

void dsoundRecordCall(DsCall call, const IDirectSoundBuffer *buffer, long value);
DsDevice *dsoundLiveDevice();

#endif
