// A sample played through SDL's own "disk" audio driver: what the device hands SDL ends up in
// the file SDL_DISKAUDIOFILE names (raw 16-bit stereo at 44100 Hz, the format the device asks
// for), silence around it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "KSound.h"
#include "dsound_testing.h"
#include "ksound_testing.h"
#include "sound_files.h"

namespace {

const size_t kFrames = 4410; // a tenth of a second
const int16_t kLevel = 12000;

// The sample: a square wave of 100 frames a period, the right channel inverted at half level,
// so that a swapped or shifted channel shows.
int16_t leftAt(size_t frame) { return frame % 100 < 50 ? kLevel : int16_t(-kLevel); }
int16_t rightAt(size_t frame) { return int16_t(-leftAt(frame) / 2); }

std::vector<int16_t> squareSample() {
  std::vector<int16_t> stereo;
  for (size_t i = 0; i < kFrames; ++i) {
    stereo.push_back(leftAt(i));
    stereo.push_back(rightAt(i));
  }
  return stereo;
}

// Stereo frames SDL has written to the file so far.
size_t framesIn(const char *path) {
  FILE *file = std::fopen(path, "rb");
  long bytes = 0;
  if (file && std::fseek(file, 0, SEEK_END) == 0) bytes = std::ftell(file);
  if (file) std::fclose(file);
  return bytes > 0 ? size_t(bytes) / 4 : 0;
}

// Waits (up to a second and a half) until the file holds `frames` frames.
void waitForFrames(const char *path, size_t frames) {
  for (int waited = 0; framesIn(path) < frames && waited < 1500; waited += 5) SDL_Delay(5);
}

bool silentFrame(const std::vector<int16_t> &stereo, size_t frame) {
  return stereo[2 * frame] == 0 && stereo[2 * frame + 1] == 0;
}

// What the mixer makes of a sample value at the buffer's attenuation (hundredths of a dB).
double mixed(int16_t value, long attenuation) {
  return value / 32768.0 * std::pow(10.0, attenuation / 2000.0) * 32767.0;
}

} // namespace

TEST(DiskOutput, APlayedSampleReachesTheFileBetweenSilences) {
  const char *output = std::getenv("SDL_DISKAUDIOFILE");
  ASSERT_NE(output, nullptr);
  std::remove(output);
  dsoundTestUseManualOutput(false); // the shared sound helpers ask for the manual output
  KSound::setGlobalVolumes(100, 100);
  long attenuation = 1;
  {
    std::string path = writeTemp("disk_square.wav", wavImage(2, 44100, 16, pcm16(squareSample())));
    KSound sound;
    ASSERT_TRUE(sound.loadSample(path.c_str(), 100, false, 1));
    waitForFrames(output, 2048); // some silent periods first
    sound.playSample();
    KSoundProbe::buffer(sound, 0)->GetVolume(&attenuation); // set as the sample starts
    for (int waited = 0; sound.isPlaying() && waited < 1500; waited += 5) SDL_Delay(5);
    EXPECT_FALSE(sound.isPlaying());
    waitForFrames(output, framesIn(output) + 4096); // and some after
  } // the last sound gone, the device closes and SDL closes its file

  std::vector<int16_t> out = readRaw(output);
  const size_t frames = out.size() / 2;
  size_t start = 0;
  while (start < frames && silentFrame(out, start)) ++start;
  ASSERT_LT(start + kFrames, frames) << "the sample is not in the file whole";
  EXPECT_GE(start, 2048u) << "no silent period before the sample started";

  size_t wrong = 0;
  for (size_t i = 0; i < kFrames; ++i) {
    if (std::fabs(out[2 * (start + i)] - mixed(leftAt(i), attenuation)) > 1.0 ||
        std::fabs(out[2 * (start + i) + 1] - mixed(rightAt(i), attenuation)) > 1.0)
      ++wrong;
  }
  EXPECT_EQ(wrong, 0u) << "frames unlike the sample, from frame " << start;

  size_t after = 0;
  for (size_t i = start + kFrames; i < frames; ++i) after += silentFrame(out, i) ? 0 : 1;
  EXPECT_EQ(after, 0u) << "sound after the sample ended";
  EXPECT_GE(frames - start - kFrames, 1024u) << "no silent period after the sample";
}
