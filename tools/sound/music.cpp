// The two music tracks, written as bars of chords, melodies and drum patterns and rendered
// by a small sequencer. Every note's tail that runs past the end is folded back onto the
// start, so each track loops without a click or a gap.
#include <cmath>
#include <sstream>
#include <string>

#include "sound/sounds.h"

namespace {
const float kTwoPi = 6.2831853f;

struct Chord {
  int root; // semitones above A
  bool minor;
};

struct Song {
  int stepFrames;                  // samples per sixteenth note
  std::vector<Chord> chords;       // one per bar, repeated through the song
  std::vector<std::string> melody; // one line per bar: "E5:4 r:2 ..."; empty bar = silent
  const char *kick;
  const char *snare;
  const char *hat;
};

float hz(int midi) { return 440.f * std::pow(2.f, (midi - 69) / 12.f); }

int midiOf(const std::string &name) {
  static const int offsets[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G from C
  int n = offsets[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') ++n, ++i;
  return 12 * (std::stoi(name.substr(i)) + 1) + n;
}

// The stereo track, with notes mixed in modulo its length.
struct Track {
  Wave l, r;
  explicit Track(size_t frames) : l(frames), r(frames) {}
  void add(const Wave &w, size_t at, float gl, float gr) {
    for (size_t i = 0; i < w.size(); ++i) {
      size_t k = (at + i) % l.size();
      l[k] += w[i] * gl;
      r[k] += w[i] * gr;
    }
  }
};

Wave kick() {
  return tone(0.3f, Osc::Sine, sweep(150, 42, 0.12f), attackDecay(0.001f, 0.09f)) +
         lowpass(noise(0.01f, 31, decay(0.002f)), [](float) { return 3000.f; });
}
Wave snare() {
  return gain(bandpass(
                  noise(0.2f, 37, decay(0.05f)), [](float) { return 2500.f; }, 0.8f),
              1.4f) +
         gain(tone(0.12f, Osc::Triangle, sweep(220, 160, 0.1f), decay(0.03f)), 0.6f);
}
Wave hat(bool open) {
  return highpass(noise(open ? 0.2f : 0.05f, 41, decay(open ? 0.06f : 0.012f)),
                  [](float) { return 8000.f; });
}

Wave bass(int midi, float secs) {
  Wave w = tone(
      secs, Osc::Saw, [=](float) { return hz(midi); }, adsr(0.004f, 0.08f, 0.6f, 0.05f, secs));
  w = w + gain(tone(
                   secs, Osc::Sine, [=](float) { return hz(midi - 12); },
                   adsr(0.004f, 0.1f, 0.7f, 0.05f, secs)),
               0.8f);
  return lowpass(
      w, [](float t) { return 300 + 1400 * std::exp(-t / 0.06f); }, 1.4f);
}

Wave lead(int midi, float secs) {
  float f = hz(midi);
  Wave w = tone(
      secs, Osc::Pulse25,
      [=](float t) {
        return f * (1 + 0.006f * std::sin(kTwoPi * 5.5f * t) * std::min(1.f, t / 0.2f));
      },
      adsr(0.01f, 0.1f, 0.65f, 0.08f, secs));
  w = w + gain(tone(
                   secs, Osc::Triangle, [=](float) { return f * 2; },
                   adsr(0.01f, 0.2f, 0.3f, 0.08f, secs)),
               0.3f);
  return lowpass(
      w, [](float) { return 3200.f; }, 0.9f);
}

Wave pluck(int midi, float secs) {
  return lowpass(
      tone(
          secs, Osc::Triangle, [=](float) { return hz(midi); }, attackDecay(0.002f, 0.09f)),
      [](float t) { return 600 + 4000 * std::exp(-t / 0.05f); });
}

Wave pad(int midi, float secs, float detune) {
  Wave w;
  for (float d : {-detune, detune})
    w = w + tone(
                secs, Osc::Saw, [=](float) { return hz(midi) * (1 + d); },
                adsr(0.4f, 0.3f, 0.7f, 0.6f, secs));
  return lowpass(
      w, [](float) { return 1400.f; }, 0.8f);
}

std::vector<int> chordNotes(Chord c, int octaveBase) {
  int root = octaveBase + c.root;
  return {root, root + (c.minor ? 3 : 4), root + 7};
}

std::vector<Wave> render(const Song &s, int bars, int intro, bool busy) {
  const size_t barFrames = size_t(s.stepFrames) * 16;
  const float step = float(s.stepFrames) / kRate;
  Track t(barFrames * bars);
  Wave k = kick(), sn = snare(), ch = hat(false), oh = hat(true);
  for (int b = 0; b < bars; ++b) {
    Chord c = s.chords[b % s.chords.size()];
    size_t at = b * barFrames;
    // Pad: the chord held through the bar, spread wide.
    for (int n : chordNotes(c, 57)) {
      t.add(pad(n, step * 16 + 0.5f, 0.004f), at, 0.09f, 0.05f);
      t.add(pad(n, step * 16 + 0.5f, 0.006f), at, 0.05f, 0.09f);
    }
    // Bass: the root on eighths (busy) or on a syncopated figure.
    for (int i = 0; i < 16; ++i) {
      bool on = busy ? (i % 2 == 0) : (i == 0 || i == 6 || i == 8 || i == 14);
      if (on)
        t.add(bass(33 + c.root + ((busy && i % 4 == 2) ? 12 : 0), step * (busy ? 1.8f : 2.5f)),
              at + i * s.stepFrames, 0.32f, 0.32f);
    }
    // Arpeggio: chord tones going up and down in sixteenths.
    auto notes = chordNotes(c, 69);
    const int order[] = {0, 1, 2, 3, 2, 1};
    for (int i = 0; i < 16; ++i) {
      int o = order[i % 6];
      int n = o == 3 ? notes[0] + 12 : notes[o];
      t.add(pluck(n, step * 2), at + i * s.stepFrames, 0.07f, 0.11f);
    }
    // Drums.
    bool full = b >= intro;
    for (int i = 0; i < 16; ++i) {
      size_t when = at + i * s.stepFrames;
      if (s.kick[i] == 'x' && (full || i % 8 == 0)) t.add(k, when, 0.55f, 0.55f);
      if (s.snare[i] == 'x' && full) t.add(sn, when, 0.3f, 0.27f);
      if (s.hat[i] == 'x') t.add(ch, when, 0.08f, 0.11f);
      if (s.hat[i] == 'o') t.add(oh, when, 0.07f, 0.1f);
    }
    // Melody, with a soft echo to the left.
    if (b < intro) continue;
    std::istringstream line(s.melody[(b - intro) % s.melody.size()]);
    std::string token;
    size_t pos = at;
    while (line >> token) {
      size_t colon = token.find(':');
      int len = std::stoi(token.substr(colon + 1));
      if (token[0] != 'r') {
        Wave w = lead(midiOf(token.substr(0, colon)), step * len * 0.92f);
        t.add(w, pos, 0.2f, 0.2f);
        t.add(w, pos + 3 * s.stepFrames, 0.08f, 0.03f);
      }
      pos += len * s.stepFrames;
    }
  }
  // A gentle limiter, then the common peak of both tracks, under the effects.
  float m = 0;
  for (size_t i = 0; i < t.l.size(); ++i) m = std::max({m, std::fabs(t.l[i]), std::fabs(t.r[i])});
  const float peak = dbToGain(kMusicPeakDb);
  for (size_t i = 0; i < t.l.size(); ++i) {
    t.l[i] = peak * std::tanh(1.2f * t.l[i] / m) / std::tanh(1.2f);
    t.r[i] = peak * std::tanh(1.2f * t.r[i] / m) / std::tanh(1.2f);
  }
  return {t.l, t.r};
}
} // namespace

std::vector<Wave> menuMusic() {
  const Song s{
      6000, // samples per sixteenth: 110 beats a minute
      // A minor: Am F C G | Am F G E.
      {{0, true},
       {-4, false},
       {3, false},
       {-2, false},
       {0, true},
       {-4, false},
       {-2, false},
       {-5, false}},
      {
          "A4:4 C5:4 E5:6 D5:2",
          "C5:6 D5:2 C5:4 A4:4",
          "G4:4 C5:4 E5:4 G5:4",
          "F5:6 E5:2 D5:8",
          "E5:4 A5:4 G5:4 E5:4",
          "F5:6 E5:2 C5:8",
          "D5:4 B4:4 G4:4 B4:4",
          "B4:6 G#4:2 E4:8",
          "r:2 E5:2 A5:4 G5:2 E5:2 C5:4",
          "A4:2 C5:2 F5:6 E5:2 D5:4",
          "E5:4 G5:4 C6:6 B5:2",
          "B5:4 A5:2 G5:2 D5:8",
          "C6:4 B5:2 A5:2 E5:4 A5:4",
          "A5:6 G5:2 F5:4 C5:4",
          "D5:2 E5:2 F5:2 G5:2 B5:4 D6:4",
          "E5:4 B4:4 G#4:4 E4:4",
      },
      "x.....x...x.....", // kick
      "....x.......x...", // snare
      "..x...x...x...o.", // hats: x closed, o open
  };
  return render(s, 24, 8, false);
}

std::vector<Wave> ingameMusic() {
  const Song s{
      5200, // samples per sixteenth: 127 beats a minute
      // E minor: Em C G D | Em C D B.
      {{7, true},
       {3, false},
       {-2, false},
       {5, false},
       {7, true},
       {3, false},
       {5, false},
       {2, false}},
      {
          "E5:3 E5:3 G5:2 B5:4 A5:2 G5:2",
          "E5:3 E5:3 G5:2 C6:4 B5:2 G5:2",
          "D5:3 D5:3 G5:2 B5:4 D6:2 B5:2",
          "A5:6 F#5:2 D5:8",
          "B5:3 B5:3 A5:2 G5:4 E5:4",
          "G5:3 G5:3 E5:2 C5:4 E5:4",
          "F#5:4 A5:4 D6:4 C6:2 A5:2",
          "B5:6 A5:2 F#5:4 D#5:4",
          "E6:2 D6:2 B5:4 G5:2 A5:2 B5:4",
          "C6:2 B5:2 G5:4 E5:2 G5:2 C6:4",
          "B5:2 A5:2 G5:4 D5:2 G5:2 B5:4",
          "A5:8 F#5:4 A5:4",
          "G5:2 A5:2 B5:4 E6:4 D6:4",
          "C6:4 B5:2 A5:2 G5:4 E5:4",
          "D5:2 F#5:2 A5:2 D6:2 C6:4 A5:4",
          "D#6:4 B5:4 F#5:4 D#5:4",
      },
      "x...x...x...x.x.",
      "....x.......x...",
      "xxoxxxoxxxoxxxox",
  };
  return render(s, 32, 8, true);
}
