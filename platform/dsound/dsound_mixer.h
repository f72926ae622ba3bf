#ifndef ZY_DSOUND_MIXER_H
#define ZY_DSOUND_MIXER_H

// The mixer: what it knows of a playing buffer (Voice), the fast mix and the slow reference
// mix it is tested against. Both add every playing voice, resampled to kOutputRate, into a
// stereo float accumulator, advance the play cursors and set the notification events the
// cursors pass. The device limits the accumulator (dsound_limiter.h) and mixToPcm16 then
// clips it into the output format.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsound.h"

namespace zy {

const uint32_t kOutputRate = 44100; // output: 44100 Hz, stereo, 16-bit
const int kFracBits = 32;           // play cursor: 32.32 fixed-point frames

struct Voice {
  const uint8_t *data = nullptr;
  uint32_t frames = 0;     // length in frames
  uint16_t channels = 1;   // 1 or 2 (more: the first two are heard)
  uint16_t bits = 16;      // 8 (unsigned) or 16 (signed)
  uint32_t blockAlign = 2; // bytes per frame
  uint32_t rate = 44100;   // the format's rate
  uint32_t frequency = 0;  // SetFrequency's rate; 0 = the format's
  long volume = 0;         // hundredths of a dB, -10000..0
  long pan = 0;            // -10000..10000
  bool playing = false;
  bool looping = false;
  uint64_t pos = 0; // play cursor, 32.32 frames
  std::vector<DSBPOSITIONNOTIFY> notes;
};

// 10^(v/2000); -10000 and below are silent.
double attenuationGain(long hundredthsOfDb);
// Left and right gains of a voice's volume and pan.
void voiceGains(const Voice &voice, double *left, double *right);
// Cursor advance per output frame, 32.32.
uint64_t voiceStep(const Voice &voice);

void mixFast(Voice *const *voices, size_t count, float *stereo, size_t frames);
void mixReference(Voice *const *voices, size_t count, float *stereo, size_t frames);
// Clips [-1, 1] and scales to 16-bit.
void mixToPcm16(const float *stereo, int16_t *pcm, size_t frames);

} // namespace zy

#endif
