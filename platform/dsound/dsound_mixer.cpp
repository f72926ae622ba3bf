#include "dsound_mixer.h"

#include <cmath>

#include "zy_thread.h"

namespace zy {

double attenuationGain(long hundredthsOfDb) {
  if (hundredthsOfDb <= DSBVOLUME_MIN) return 0.0;
  if (hundredthsOfDb >= 0) return 1.0;
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}

void voiceGains(const Voice &voice, double *left, double *right) {
  double gain = attenuationGain(voice.volume);
  *left = gain * (voice.pan > 0 ? attenuationGain(-voice.pan) : 1.0);
  *right = gain * (voice.pan < 0 ? attenuationGain(voice.pan) : 1.0);
}

uint64_t voiceStep(const Voice &voice) {
  uint64_t rate = voice.frequency ? voice.frequency : voice.rate;
  return (rate << kFracBits) / kOutputRate;
}

namespace {

const uint64_t kFracMask = (uint64_t(1) << kFracBits) - 1;
const double kFracScale = 1.0 / double(uint64_t(1) << kFracBits);

// Sets the event of every notification whose frame lies in the `advanced` frames the cursor
// went over from startFrame (wrapping at the end of the ring).
void notifyPassed(const Voice &voice, uint64_t startFrame, uint64_t advanced) {
  for (const DSBPOSITIONNOTIFY &note : voice.notes) {
    uint64_t frame = note.dwOffset / voice.blockAlign;
    uint64_t distance = (frame + voice.frames - startFrame) % voice.frames;
    if (distance < advanced && note.hEventNotify) note.hEventNotify->set();
  }
}

// Moves the cursor by `advance` (32.32); a one-shot voice stops at its end.
void advanceCursor(Voice &voice, uint64_t advance) {
  uint64_t startFrame = voice.pos >> kFracBits;
  uint64_t end = uint64_t(voice.frames) << kFracBits;
  uint64_t target = voice.pos + advance;
  if (target >= end && !voice.looping) {
    notifyPassed(voice, startFrame, voice.frames - startFrame);
    voice.playing = false;
    voice.pos = 0;
    return;
  }
  notifyPassed(voice, startFrame, (target >> kFracBits) - startFrame);
  voice.pos = target % end;
}

// Output frames a voice sounds for before it ends (all of them when it loops).
size_t audibleFrames(const Voice &voice, uint64_t step, size_t frames) {
  if (voice.looping) return frames;
  uint64_t end = uint64_t(voice.frames) << kFracBits;
  uint64_t left = (end - voice.pos + step - 1) / step;
  return left < frames ? size_t(left) : frames;
}

// ---- the reference: one output frame at a time, in double, every rule spelled out.

double sampleAt(const Voice &voice, uint32_t frame, int channel) {
  const uint8_t *p = voice.data + size_t(frame) * voice.blockAlign;
  int c = channel < voice.channels ? channel : 0;
  if (voice.bits == 8) return (int(p[c]) - 128) / 128.0;
  int16_t s = int16_t(uint16_t(p[2 * c]) | uint16_t(p[2 * c + 1]) << 8);
  return s / 32768.0;
}

uint32_t nextFrame(const Voice &voice, uint32_t frame) {
  if (frame + 1 < voice.frames) return frame + 1;
  return voice.looping ? 0 : frame;
}

} // namespace

void mixReference(Voice *const *voices, size_t count, float *stereo, size_t frames) {
  for (size_t v = 0; v < count; ++v) {
    Voice &voice = *voices[v];
    if (!voice.playing || voice.frames == 0) continue;
    double left, right;
    voiceGains(voice, &left, &right);
    uint64_t step = voiceStep(voice);
    size_t audible = audibleFrames(voice, step, frames);
    uint64_t end = uint64_t(voice.frames) << kFracBits;
    for (size_t i = 0; i < audible; ++i) {
      uint64_t pos = (voice.pos + i * step) % end;
      uint32_t frame = uint32_t(pos >> kFracBits);
      double t = double(pos & kFracMask) * kFracScale;
      for (int channel = 0; channel < 2; ++channel) {
        double a = sampleAt(voice, frame, channel);
        double b = sampleAt(voice, nextFrame(voice, frame), channel);
        stereo[2 * i + channel] += float((a + (b - a) * t) * (channel == 0 ? left : right));
      }
    }
    advanceCursor(voice, step * audible);
  }
}

// ---- the fast mix: one loop per sample format, float gains, no per-sample pow or branch
// on the format.

namespace {

template <int Bits> inline float readSample(const uint8_t *p) {
  if (Bits == 8) return float(int(p[0]) - 128) * (1.0f / 128.0f);
  return float(int16_t(uint16_t(p[0]) | uint16_t(p[1]) << 8)) * (1.0f / 32768.0f);
}

template <int Bits, bool Stereo>
void mixVoice(Voice &voice, float left, float right, uint64_t step, float *stereo, size_t frames) {
  const int bytes = Bits / 8;
  const uint8_t *data = voice.data;
  const uint32_t blockAlign = voice.blockAlign;
  const uint64_t end = uint64_t(voice.frames) << kFracBits;
  uint64_t pos = voice.pos;
  for (size_t i = 0; i < frames; ++i) {
    uint32_t frame = uint32_t(pos >> kFracBits);
    uint32_t next = frame + 1 < voice.frames ? frame + 1 : (voice.looping ? 0 : frame);
    float t = float(double(pos & kFracMask) * kFracScale);
    const uint8_t *a = data + size_t(frame) * blockAlign;
    const uint8_t *b = data + size_t(next) * blockAlign;
    float al = readSample<Bits>(a), bl = readSample<Bits>(b);
    float ar = Stereo ? readSample<Bits>(a + bytes) : al;
    float br = Stereo ? readSample<Bits>(b + bytes) : bl;
    stereo[2 * i] += (al + (bl - al) * t) * left;
    stereo[2 * i + 1] += (ar + (br - ar) * t) * right;
    pos += step;
    if (pos >= end) pos -= end;
  }
}

} // namespace

void mixFast(Voice *const *voices, size_t count, float *stereo, size_t frames) {
  for (size_t v = 0; v < count; ++v) {
    Voice &voice = *voices[v];
    if (!voice.playing || voice.frames == 0) continue;
    double left, right;
    voiceGains(voice, &left, &right);
    uint64_t step = voiceStep(voice);
    size_t audible = audibleFrames(voice, step, frames);
    if (left != 0.0 || right != 0.0) {
      bool stereoVoice = voice.channels >= 2;
      if (voice.bits == 8)
        (stereoVoice ? mixVoice<8, true> : mixVoice<8, false>)(voice, float(left), float(right),
                                                               step, stereo, audible);
      else
        (stereoVoice ? mixVoice<16, true> : mixVoice<16, false>)(voice, float(left), float(right),
                                                                 step, stereo, audible);
    }
    advanceCursor(voice, step * audible);
  }
}

void mixToPcm16(const float *stereo, int16_t *pcm, size_t frames) {
  for (size_t i = 0; i < 2 * frames; ++i) {
    float s = stereo[i];
    s = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
    pcm[i] = int16_t(std::lround(s * 32767.0f));
  }
}

} // namespace zy
