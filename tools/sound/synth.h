// A small synthesiser: mono float waves at 44100 Hz, oscillators, envelopes, filters and mixing.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

const int kRate = 44100;
using Wave = std::vector<float>;
using Curve = std::function<float(float t)>; // a value over time in seconds

enum class Osc { Sine, Triangle, Saw, Square, Pulse25 };

float oscillator(Osc shape, float phase); // phase in cycles; one period over [0, 1)

// A tone of the given length whose frequency (Hz) and amplitude follow the curves.
Wave tone(float seconds, Osc shape, const Curve &freq, const Curve &amp);
// White noise in −1..1 from a fixed seed, shaped by amp.
Wave noise(float seconds, uint32_t seed, const Curve &amp);

// Envelopes.
Curve decay(float tau);                     // exp(−t / tau)
Curve attackDecay(float attack, float tau); // linear rise, then exponential fall
Curve adsr(float a, float d, float s, float r, float length);
Curve sweep(float from, float to, float seconds); // exponential glide from one value to another

// Filters; cutoff curves in Hz over time.
Wave lowpass(const Wave &in, const Curve &cutoff, float resonance = 0.7f);
Wave highpass(const Wave &in, const Curve &cutoff, float resonance = 0.7f);
Wave bandpass(const Wave &in, const Curve &cutoff, float resonance);

Wave operator+(const Wave &a, const Wave &b); // sample by sample; the longer length
void mixInto(Wave &dst, const Wave &src, int offset, float gain = 1);
Wave gain(Wave w, float g);
Wave softClip(Wave w, float drive);       // tanh saturation
Wave crushed(Wave w, int bits, int hold); // fewer levels, samples held: grit
Wave echo(const Wave &w, float delaySeconds, float feedback, int repeats);
void normalise(Wave &w, float peak); // scale so the largest sample is `peak`
void fadeEnds(Wave &w, float inSeconds, float outSeconds);
float seconds(const Wave &w);
