// The fifteen sound effects, each mono and mastered to a peak of its own (the table at the end):
// the big moments of play loudest, the frequent small ones quieter, all well under full scale
// so that several of them and the music sum without clipping.
#include <algorithm>
#include <cmath>

#include "sound/sounds.h"

namespace {

// A tail faded over up to a tenth of a second, so no effect ends with a click.
Wave finished(Wave w) {
  fadeEnds(w, 0.001f, std::min(0.1f, 0.4f * seconds(w)));
  return w;
}

float note(float semitonesFromA4) { return 440.f * std::pow(2.f, semitonesFromA4 / 12); }
Curve fixed(float hz) {
  return [=](float) { return hz; };
}

// A bell: inharmonic sine partials, the higher ones dying faster.
Wave bell(float f, float length, float tau) {
  const float ratios[] = {1, 2.01f, 2.76f, 4.07f, 5.43f};
  const float levels[] = {1, 0.6f, 0.45f, 0.3f, 0.18f};
  Wave w;
  for (int i = 0; i < 5; ++i)
    w = w + tone(length, Osc::Sine, fixed(f * ratios[i]), [=](float t) {
          return levels[i] * std::exp(-t / (tau / (1 + i * 0.6f))) * std::min(1.f, t / 0.002f);
        });
  return w;
}

// The title's chime: two bright bell strikes a fifth apart.
Wave ching() {
  Wave w = bell(note(15), 1.3f, 0.45f);                                   // C6
  mixInto(w, gain(bell(note(22), 1.2f, 0.4f), 0.7f), int(0.07f * kRate)); // G6
  return finished(w);
}

// A menu move: a soft, short wooden tick.
Wave menuselect() {
  Wave w = tone(0.07f, Osc::Sine, sweep(1400, 900, 0.07f), attackDecay(0.002f, 0.018f));
  w = w + lowpass(noise(0.02f, 3, decay(0.004f)), fixed(3000));
  return finished(w);
}

// The title sliding in: a whoosh of filtered noise sweeping up and fading.
Wave scrollmenu() {
  Wave n = noise(0.75f, 5, [](float t) {
    return std::sin(3.14159f * std::min(1.f, t / 0.75f)) * (0.6f + 0.4f * std::sin(t * 25));
  });
  Wave w = bandpass(n, sweep(300, 4500, 0.6f), 2.5f) + gain(lowpass(n, fixed(600)), 0.4f);
  return finished(w);
}

// An alien's shot: a falling square-wave zap, a little harsh.
Wave shotennemy1() {
  Wave w = tone(0.22f, Osc::Square, sweep(1100, 180, 0.2f), attackDecay(0.003f, 0.07f));
  w = lowpass(w, sweep(6000, 1200, 0.2f), 1.2f);
  return finished(w);
}

// A confirmation: two quick rising blips with a sparkle of echo.
Wave validated() {
  Wave w = tone(0.1f, Osc::Triangle, fixed(note(15)), attackDecay(0.003f, 0.05f));
  mixInto(w, tone(0.22f, Osc::Triangle, fixed(note(22)), attackDecay(0.003f, 0.07f)),
          int(0.08f * kRate));
  return finished(echo(w, 0.09f, 0.3f, 2));
}

// The ship's laser: a bright descending zap with a clean sine body.
Wave shothero() {
  Wave w = tone(0.16f, Osc::Saw, sweep(2400, 500, 0.14f), attackDecay(0.002f, 0.045f));
  w = lowpass(w, sweep(9000, 2000, 0.15f), 1.5f) +
      tone(0.16f, Osc::Sine, sweep(1800, 600, 0.14f), attackDecay(0.002f, 0.05f));
  return finished(w);
}

// An alien warping in: a rising, trembling sweep.
Wave alienarrival() {
  Wave w = tone(
      0.55f, Osc::Triangle,
      [](float t) {
        return 200 * std::pow(6.f, t / 0.55f) * (1 + 0.04f * std::sin(t * 2 * 3.14159f * 18));
      },
      [](float t) {
        return std::min(1.f, t / 0.1f) * std::exp(-t / 0.25f) *
               (0.7f + 0.3f * std::sin(t * 2 * 3.14159f * 24));
      });
  w = w + gain(bandpass(noise(0.55f, 7, decay(0.2f)), sweep(800, 5000, 0.55f), 4), 0.5f);
  return finished(w);
}

// The start of a game: a quick major arpeggio resolving on a held chord.
Wave welcomgame() {
  Wave w;
  const float steps[] = {3, 7, 10, 15}; // C5 E5 G5 C6
  for (int i = 0; i < 4; ++i) {
    float len = 1.4f - i * 0.12f;
    Wave n = tone(len, Osc::Pulse25, fixed(note(steps[i])), adsr(0.005f, 0.15f, 0.35f, 0.4f, len));
    n = n +
        gain(tone(len, Osc::Sine, fixed(note(steps[i] - 12)), adsr(0.005f, 0.2f, 0.4f, 0.4f, len)),
             0.6f);
    mixInto(w, lowpass(n, fixed(4000)), int(i * 0.12f * kRate), 0.5f);
  }
  return finished(w);
}

// An alien destroyed: a crunchy burst of crushed noise over a falling thump.
Wave alienexplo() {
  Wave n = noise(0.8f, 11, attackDecay(0.002f, 0.18f));
  Wave body = lowpass(n, sweep(5000, 200, 0.6f), 1.2f);
  Wave thump = tone(0.35f, Osc::Sine, sweep(160, 40, 0.3f), attackDecay(0.002f, 0.1f));
  Wave w = crushed(softClip(body + gain(thump, 1.2f), 2.5f), 6, 3);
  return finished(lowpass(w, fixed(7000)));
}

// A bonus released: a shimmering upward run of high bell notes.
Wave bonusappear() {
  Wave w;
  const float steps[] = {19, 22, 26, 31, 34};
  for (int i = 0; i < 5; ++i)
    mixInto(w, bell(note(steps[i]), 0.35f, 0.12f), int(i * 0.045f * kRate), 0.5f);
  return finished(echo(w, 0.07f, 0.35f, 3));
}

// A bonus collected: a rising arpeggio, square-ish and cheerful.
Wave gotbonus() {
  Wave w;
  const float steps[] = {3, 7, 10, 15, 19, 22};
  for (int i = 0; i < 6; ++i)
    mixInto(w,
            lowpass(tone(0.12f, Osc::Square, fixed(note(steps[i])), attackDecay(0.003f, 0.05f)),
                    fixed(5000)),
            int(i * 0.05f * kRate));
  return finished(w);
}

// A hit that does not destroy: a short metallic clank.
Wave hitshell() {
  Wave w;
  const float partials[] = {620, 1370, 2210, 3150};
  for (float f : partials) w = w + tone(0.18f, Osc::Sine, fixed(f), decay(0.03f + 20.f / f));
  w = w + gain(highpass(noise(0.03f, 13, decay(0.006f)), fixed(2000)), 0.8f);
  return finished(w);
}

// A background cell changing: a soft, low bloop (it can play many times in a row).
Wave changebg() {
  Wave w = tone(0.14f, Osc::Sine, sweep(220, 440, 0.12f), adsr(0.01f, 0.04f, 0.4f, 0.08f, 0.14f));
  return finished(lowpass(w, fixed(1500)));
}

// The ship hit: a distorted low buzz with a crackle.
Wave herohit() {
  Wave buzz = tone(0.5f, Osc::Saw, sweep(140, 55, 0.45f), attackDecay(0.003f, 0.15f)) +
              tone(0.5f, Osc::Square, sweep(147, 58, 0.45f), attackDecay(0.003f, 0.12f));
  Wave w = softClip(
      lowpass(buzz, sweep(3000, 300, 0.4f)) + gain(noise(0.3f, 17, decay(0.05f)), 0.6f), 3);
  return finished(w);
}

// The smart bomb: a deep boom with a long rumbling tail.
Wave smartbomb() {
  Wave boom = tone(1.5f, Osc::Sine, sweep(110, 28, 0.9f), attackDecay(0.005f, 0.45f));
  Wave rumble = lowpass(noise(1.5f, 19, attackDecay(0.01f, 0.5f)), sweep(1800, 80, 1.2f), 1.5f);
  Wave crack = highpass(noise(0.15f, 23, decay(0.03f)), fixed(1500));
  Wave w = softClip(gain(boom, 1.3f) + gain(rumble, 1.2f) + gain(crack, 0.5f), 1.8f);
  fadeEnds(w, 0, 0.3f);
  return finished(w);
}
} // namespace

float dbToGain(float db) { return std::pow(10.f, db / 20); }

Wave mastered(const Effect &e) {
  Wave w = e.make();
  normalise(w, dbToGain(e.peakDb));
  return w;
}

const std::vector<Effect> &effects() {
  static const std::vector<Effect> all = {
      {"ching.ogg", ching, -10},             // the title's chime (the menu plays it at half volume)
      {"menuselect.ogg", menuselect, -12},   // menu moves
      {"scrollmenu.ogg", scrollmenu, -11},   // the title sliding in: a soft whoosh
      {"shotennemy1.ogg", shotennemy1, -14}, // alien shots: frequent, three at once
      {"validated.ogg", validated, -12},     // a menu item confirmed
      {"shothero.ogg", shothero, -12},       // the ship's shot, several a second
      {"alienarrival.ogg", alienarrival, -14}, // an alien warping in: frequent, three at once
      {"welcomgame.ogg", welcomgame, -10},     // the start of a game
      {"alienexplo.ogg", alienexplo, -10},     // an alien destroyed: the loudest regular event
      {"bonusappear.ogg", bonusappear, -12},   // a bonus released
      {"gotbonus.wav", gotbonus, -12},         // a bonus collected
      {"hitshell.ogg", hitshell, -10},         // a hit that does not destroy
      {"changebg.ogg", changebg, -12},         // a background cell changing, many in a row
      {"herohit.ogg", herohit, -12},           // the ship hit
      {"smartbomb.ogg", smartbomb, -10},       // the smart bomb: long and dense, loud at this peak
  };
  return all;
}
