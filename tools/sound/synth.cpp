#include "sound/synth.h"

#include <algorithm>
#include <cmath>

static const float kTwoPi = 6.2831853f;

float oscillator(Osc shape, float p) {
  p -= std::floor(p);
  switch (shape) {
  case Osc::Sine: return std::sin(kTwoPi * p);
  case Osc::Triangle: return p < 0.5f ? 4 * p - 1 : 3 - 4 * p;
  case Osc::Saw: return 2 * p - 1;
  case Osc::Square: return p < 0.5f ? 1.f : -1.f;
  // A ±1 pulse less its mean of −0.5: the same sound without a DC offset under every note.
  case Osc::Pulse25: return p < 0.25f ? 1.5f : -0.5f;
  }
  return 0;
}

static int frames(float seconds) { return int(std::lround(seconds * kRate)); }

Wave tone(float secs, Osc shape, const Curve &freq, const Curve &amp) {
  Wave w(frames(secs));
  double phase = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    float t = float(i) / kRate;
    w[i] = oscillator(shape, float(phase)) * amp(t);
    phase += freq(t) / kRate;
    phase -= std::floor(phase);
  }
  return w;
}

Wave noise(float secs, uint32_t seed, const Curve &amp) {
  Wave w(frames(secs));
  uint32_t s = seed * 2654435761u + 1;
  for (size_t i = 0; i < w.size(); ++i) {
    s ^= s << 13, s ^= s >> 17, s ^= s << 5;
    w[i] = (float(s >> 8) / 8388608.f - 1) * amp(float(i) / kRate);
  }
  return w;
}

Curve decay(float tau) {
  return [=](float t) { return std::exp(-t / tau); };
}

Curve attackDecay(float attack, float tau) {
  return [=](float t) { return t < attack ? t / attack : std::exp(-(t - attack) / tau); };
}

Curve adsr(float a, float d, float s, float r, float length) {
  return [=](float t) {
    if (t < a) return t / a;
    if (t < a + d) return 1 - (1 - s) * (t - a) / d;
    if (t < length - r) return s;
    return std::max(0.f, s * (length - t) / r);
  };
}

Curve sweep(float from, float to, float secs) {
  return [=](float t) { return from * std::pow(to / from, std::min(t, secs) / secs); };
}

// A state-variable filter (Chamberlin), stable for cutoffs well below a sixth of the rate.
enum class Band { Low, High, Pass };
static Wave svf(const Wave &in, const Curve &cutoff, float q, Band band) {
  Wave out(in.size());
  float low = 0, bandv = 0, damp = 1 / std::max(0.5f, q);
  for (size_t i = 0; i < in.size(); ++i) {
    float fc = std::clamp(cutoff(float(i) / kRate), 20.f, kRate / 6.5f);
    float f = 2 * std::sin(3.14159265f * fc / kRate);
    low += f * bandv;
    float high = in[i] - low - damp * bandv;
    bandv += f * high;
    out[i] = band == Band::Low ? low : band == Band::High ? high : bandv;
  }
  return out;
}

Wave lowpass(const Wave &in, const Curve &c, float q) { return svf(in, c, q, Band::Low); }
Wave highpass(const Wave &in, const Curve &c, float q) { return svf(in, c, q, Band::High); }
Wave bandpass(const Wave &in, const Curve &c, float q) { return svf(in, c, q, Band::Pass); }

Wave operator+(const Wave &a, const Wave &b) {
  Wave out = a.size() >= b.size() ? a : b;
  const Wave &other = a.size() >= b.size() ? b : a;
  for (size_t i = 0; i < other.size(); ++i) out[i] += other[i];
  return out;
}

void mixInto(Wave &dst, const Wave &src, int offset, float g) {
  if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.f);
  for (size_t i = 0; i < src.size(); ++i) dst[offset + i] += src[i] * g;
}

Wave gain(Wave w, float g) {
  for (float &s : w) s *= g;
  return w;
}

Wave softClip(Wave w, float drive) {
  for (float &s : w) s = std::tanh(s * drive) / std::tanh(drive);
  return w;
}

Wave crushed(Wave w, int bits, int hold) {
  float levels = float(1 << (bits - 1));
  float held = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    if (i % hold == 0) held = std::round(w[i] * levels) / levels;
    w[i] = held;
  }
  return w;
}

Wave echo(const Wave &w, float delay, float feedback, int repeats) {
  Wave out = w;
  float g = 1;
  for (int r = 1; r <= repeats; ++r) {
    g *= feedback;
    mixInto(out, w, frames(delay * r), g);
  }
  return out;
}

void normalise(Wave &w, float peak) {
  float m = 0;
  for (float s : w) m = std::max(m, std::fabs(s));
  if (m > 0)
    for (float &s : w) s *= peak / m;
}

void fadeEnds(Wave &w, float in, float out) {
  int a = std::min<int>(frames(in), int(w.size())), b = std::min<int>(frames(out), int(w.size()));
  for (int i = 0; i < a; ++i) w[i] *= float(i) / a;
  for (int i = 0; i < b; ++i) w[w.size() - 1 - i] *= float(i) / b;
}

float seconds(const Wave &w) { return float(w.size()) / kRate; }
