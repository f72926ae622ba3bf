// The committed sounds decode, last as long as their moment needs, and neither clip nor fall
// silent.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
struct Decoded {
  bool ok = false;
  long rate = 0;
  int channels = 0;
  std::vector<float> samples; // interleaved
  double seconds() const { return double(samples.size()) / channels / rate; }
  float peak() const {
    float m = 0;
    for (float s : samples) m = std::max(m, std::fabs(s));
    return m;
  }
  // The DC offset: a wave centred on zero wastes no headroom and thumps at no start or stop.
  double mean() const {
    double sum = 0;
    for (float s : samples) sum += s;
    return sum / std::max<size_t>(1, samples.size());
  }
  float rms() const { return rmsOf(0, samples.size()); }
  // The loudest 50 ms: how loud the sound is at its moment.
  float loudestRms() const {
    const size_t window = size_t(rate / 20) * channels;
    float m = 0;
    for (size_t at = 0; at < samples.size(); at += window)
      m = std::max(m, rmsOf(at, std::min(samples.size(), at + window)));
    return m;
  }
  float rmsOf(size_t from, size_t to) const {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
    return float(std::sqrt(sum / std::max<size_t>(1, to - from)));
  }
};

Decoded decodeOgg(const std::string &path) {
  Decoded d;
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return d;
  vorbis_info *vi = ov_info(&vf, -1);
  d.rate = vi->rate;
  d.channels = vi->channels;
  float **pcm;
  int section;
  long n;
  while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
    for (long i = 0; i < n; ++i)
      for (int c = 0; c < d.channels; ++c) d.samples.push_back(pcm[c][i]);
  ov_clear(&vf);
  d.ok = n == 0;
  return d;
}

// A canonical 44-byte-header RIFF WAV of 16-bit PCM, as the game's loader expects.
Decoded decodeWav(const std::string &path) {
  Decoded d;
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
  auto u16 = [&](size_t at) { return unsigned(b[at] | b[at + 1] << 8); };
  auto u32 = [&](size_t at) { return unsigned(u16(at) | u16(at + 2) << 16); };
  if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt ")
    return d;
  if (u16(20) != 1 || u16(34) != 16 || std::string(b.begin() + 36, b.begin() + 40) != "data" ||
      u32(40) + 44 != b.size())
    return d;
  d.channels = int(u16(22));
  d.rate = long(u32(24));
  for (size_t at = 44; at + 1 < b.size(); at += 2) d.samples.push_back(int16_t(u16(at)) / 32768.f);
  d.ok = true;
  return d;
}

Decoded decode(const std::string &name) {
  const std::string path = "data/audio/" + name;
  const bool wav = path.compare(path.size() - 4, 4, ".wav") == 0;
  return wav ? decodeWav(path) : decodeOgg(path);
}

const char *const kEffects[] = {
    "ching.ogg",    "menuselect.ogg",   "scrollmenu.ogg", "shotennemy1.ogg", "validated.ogg",
    "shothero.ogg", "alienarrival.ogg", "welcomgame.ogg", "alienexplo.ogg",  "bonusappear.ogg",
    "gotbonus.wav", "hitshell.ogg",     "changebg.ogg",   "herohit.ogg",     "smartbomb.ogg"};
} // namespace

TEST(Sounds, EffectsAreShortLevelAndAudible) {
  for (const char *name : kEffects) {
    SCOPED_TRACE(name);
    Decoded d = decode(name);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_EQ(d.channels, 1);
    EXPECT_GE(d.seconds(), 0.05);
    EXPECT_LE(d.seconds(), 1.5);
    // Between −16 and −6 dBFS, so a few together and the music stay clear of clipping;
    // never silent.
    EXPECT_LT(d.peak(), 0.5f);
    EXPECT_LT(d.peak(), 0.75f);
    EXPECT_GT(d.peak(), 0.16f);
    EXPECT_GT(d.rms(), 0.03f);
    EXPECT_LT(std::fabs(d.mean()), 0.01);
  }
}

TEST(Sounds, MusicLoopsWithoutAClick) {
  for (const char *name : {"menu.ogg", "ingame.ogg"}) {
    SCOPED_TRACE(name);
    Decoded d = decodeOgg(std::string("data/audio/") + name);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.rate, 44100);
    ASSERT_EQ(d.channels, 2);
    EXPECT_GE(d.seconds(), 40);
    EXPECT_LE(d.seconds(), 90);
    EXPECT_LT(d.peak(), 0.95f);
    EXPECT_LT(d.peak(), 0.3f); // about −12 dBFS: under the effects
    EXPECT_GT(d.rms(), 0.05f);
    EXPECT_LT(std::fabs(d.mean()), 0.01);
    // Wrapping from the last frame to the first is no bigger a step than the music takes anyway.
    size_t n = d.samples.size();
    float typical = 0;
    for (size_t i = 2; i < 20000; i += 2)
      typical = std::max(typical, std::fabs(d.samples[i] - d.samples[i - 2]));
    EXPECT_LE(std::fabs(d.samples[0] - d.samples[n - 2]), typical);
    EXPECT_LE(std::fabs(d.samples[1] - d.samples[n - 1]), typical);
  }
}

TEST(Sounds, TheMusicSitsUnderTheEffectsAndTheLoudestSumUnderFullScale) {
  float musicPeak = 0, musicRms = 0;
  for (const char *name : {"menu.ogg", "ingame.ogg"}) {
    Decoded d = decode(name);
    ASSERT_TRUE(d.ok) << name;
    musicPeak = std::max(musicPeak, d.peak());
    musicRms = std::max(musicRms, d.rms());
  }
  std::vector<float> peaks;
  for (const char *name : kEffects) peaks.push_back(decode(name).peak());
  std::sort(peaks.rbegin(), peaks.rend());
  // The music and the two loudest effects, their peaks landing together, stay under full scale.
  EXPECT_LT(musicPeak + peaks[0] + peaks[1], 1.0f);
  // The moments of play stand out: their loudest 50 ms are at least 3 dB over the music.
  for (const char *name :
       {"alienexplo.ogg", "herohit.ogg", "smartbomb.ogg", "gotbonus.wav", "welcomgame.ogg"})
    EXPECT_GT(decode(name).loudestRms(), musicRms * std::sqrt(2.f)) << name;
}
