// KSound streams and modules with their refill thread, half by half through the manual output.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "KSound.h"
#include "dsound.h"
#include "dsound_testing.h"
#include "host_testing.h"
#include "ksound_testing.h"
#include "sound_files.h"

namespace {

const size_t kHalfFrames = 4096; // 16384 bytes of 44100 Hz stereo 16-bit

IDirectSoundBuffer *ring(const KSound &sound) { return KSoundProbe::buffer(sound, 0); }

// Mixes one half. When the cursor passes a notification at its start, waits for the refill
// thread to handle it: its Unlock calls grow, then stay still for a while.
std::vector<int16_t> mixHalf(const KSound &sound, bool refillExpected = true) {
  IDirectSoundBuffer *buffer = ring(sound);
  unsigned long before = dsoundTestUnlockCount(buffer);
  std::vector<int16_t> out = mixFrames(kHalfFrames);
  if (!refillExpected) return out;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (dsoundTestUnlockCount(buffer) == before && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_GT(dsoundTestUnlockCount(buffer), before) << "no refill";
  unsigned long seen;
  do {
    seen = dsoundTestUnlockCount(buffer);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  } while (dsoundTestUnlockCount(buffer) != seen);
  return out;
}

// The mixer's rendering of a decoded sample at the stream's volume (100: entry 99, -12).
int16_t heard(int16_t sample) {
  float gain = float(std::pow(10.0, -12 / 2000.0));
  float s = float(sample) * (1.0f / 32768.0f) * gain;
  return int16_t(std::lround(s * 32767.0f));
}

// Frames [from, from + count) of a half hold the decoded frames starting at `source`.
void expectFile(const std::vector<int16_t> &half, size_t from, const std::vector<int16_t> &decoded,
                size_t source, size_t count) {
  for (size_t i = 0; i < 2 * count; ++i)
    ASSERT_NEAR(half[2 * from + i], heard(decoded[2 * source + i]), 1) << "sample " << i;
}

void expectSilent(const std::vector<int16_t> &half, size_t from, size_t to) {
  for (size_t i = 2 * from; i < 2 * to; ++i) ASSERT_EQ(half[i], 0) << "sample " << i;
}

// Frames [from, from + count) of the played halves, taken together, are the decoded file
// played over and over, from its frame `fileFrom` on, with no frame left out or added at the
// loop point.
void expectRepeats(const std::vector<int16_t> &played, size_t from,
                   const std::vector<int16_t> &decoded, size_t fileFrom, size_t count) {
  const size_t fileFrames = decoded.size() / 2;
  for (size_t f = 0; f < count; ++f)
    for (int c = 0; c < 2; ++c)
      ASSERT_NEAR(played[2 * (from + f) + c], heard(decoded[2 * ((fileFrom + f) % fileFrames) + c]),
                  1)
          << "frame " << (fileFrom + f) % fileFrames << " of the file, played at " << from + f;
}

class Stream : public ::testing::Test {
protected:
  void SetUp() override { KSound::setGlobalVolumes(100, 100); }
  void TearDown() override {
    KSound::setGlobalVolumes(100, 100);
    EXPECT_EQ(dsoundTestLiveBuffers(), 0);
  }
  // A stereo 44100 Hz Ogg file of `frames` frames, and its decoded samples.
  std::string music(const char *name, long frames) {
    std::string path = writeTemp(name, oggImage(2, 44100, sine(2, 44100, frames, 660, 0.5)));
    decoded = decodeOgg(path);
    EXPECT_EQ(decoded.size(), size_t(frames) * 2);
    return path;
  }
  // Loads that file as a stream at full volume and plays it.
  void start(KSound &stream, const char *name, long frames, bool loop) {
    std::string path = music(name, frames);
    ASSERT_TRUE(stream.loadStream(path.c_str()));
    stream.setVolume(100);
    stream.playStream(loop);
  }
  std::vector<int16_t> decoded;
};

// A looping file shorter than a half is heard back to back, twice and more in each half: the
// fill goes on from the file's start where the file ends.
TEST_F(Stream, ShortLoopRepeatsTheFileWithoutAGap) {
  std::string path = music("short.ogg", 2000);
  KSound stream;
  ASSERT_TRUE(stream.loadStream(path.c_str()));
  DSBCAPS caps{sizeof(DSBCAPS), 0, 0}; // the sample's controls, and position notification
  ring(stream)->GetCaps(&caps);
  EXPECT_EQ(caps.dwFlags, 0x81E8u);
  EXPECT_EQ(caps.dwBufferBytes, 32768u);
  EXPECT_FALSE(stream.isPlaying());
  stream.setVolume(100);
  stream.playStream(true);
  EXPECT_TRUE(stream.isPlaying());
  expectSilent(mixHalf(stream), 0, kHalfFrames); // the ring starts silent
  std::vector<int16_t> played;
  for (int half = 1; half <= 3; ++half) {
    std::vector<int16_t> out = mixHalf(stream);
    played.insert(played.end(), out.begin(), out.end());
  }
  expectRepeats(played, 0, decoded, 0, 3 * kHalfFrames);
  EXPECT_TRUE(stream.isPlaying());
}

// A file whose end falls inside a half: that half holds its last frames, then its first.
TEST_F(Stream, LoopPointInsideAHalfJoinsEndToStart) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "joined.ogg", 6000, true));
  mixHalf(stream);
  std::vector<int16_t> played;
  for (int half = 1; half <= 4; ++half) {
    std::vector<int16_t> out = mixHalf(stream);
    played.insert(played.end(), out.begin(), out.end());
  }
  expectRepeats(played, 0, decoded, 0, 4 * kHalfFrames);
  EXPECT_EQ(longestSilence(played, 0, 4 * kHalfFrames), 0u);
}

// The game's own music, looped: across the loop point it runs on from its first frame, with no
// silence longer than a few frames anywhere.
TEST_F(Stream, TheGamesMusicLoopsWithoutAGap) {
  for (const char *name : {"data/audio/menu.ogg", "data/audio/ingame.ogg"}) {
    SCOPED_TRACE(name);
    decoded = decodeOgg(name);
    const size_t fileFrames = decoded.size() / 2;
    ASSERT_GT(fileFrames, 20 * kHalfFrames);
    KSound stream;
    ASSERT_TRUE(stream.loadStream(name));
    stream.setVolume(100);
    stream.playStream(true);
    // Half by half, each mix waiting only for its one refill: the whole file and some more.
    std::vector<int16_t> played;
    IDirectSoundBuffer *buffer = ring(stream);
    while (played.size() / 2 < kHalfFrames + fileFrames + 2 * kHalfFrames) {
      const unsigned long before = dsoundTestUnlockCount(buffer);
      std::vector<int16_t> out = mixFrames(kHalfFrames);
      played.insert(played.end(), out.begin(), out.end());
      for (int waited = 0; dsoundTestUnlockCount(buffer) == before && waited < 5000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ASSERT_GT(dsoundTestUnlockCount(buffer), before) << "no refill";
    }
    const size_t loopAt = kHalfFrames + fileFrames; // after the silent first half
    expectRepeats(played, loopAt - kHalfFrames, decoded, fileFrames - kHalfFrames, 2 * kHalfFrames);
    EXPECT_LE(longestSilence(played, kHalfFrames, played.size() / 2), 4u);
  }
}

TEST_F(Stream, OneShotStopsWithinAHalf) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "once.ogg", 6000, false));
  mixHalf(stream);
  std::vector<int16_t> first = mixHalf(stream); // frames 0..4095; the refill meets the end
  expectFile(first, 0, decoded, 0, kHalfFrames);
  EXPECT_FALSE(stream.isPlaying());
  expectSilent(mixHalf(stream, false), 0, kHalfFrames); // the decoded tail is not heard
}

TEST_F(Stream, PlayStreamRestartsFromTheBeginning) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "restart.ogg", 20000, true));
  mixHalf(stream);
  mixHalf(stream);
  expectFile(mixHalf(stream), 0, decoded, kHalfFrames, kHalfFrames);
  stream.playStream(true); // new thread, decoder rewound; half 0 still holds old sound
  mixHalf(stream);
  expectFile(mixHalf(stream), 0, decoded, 0, kHalfFrames);
  expectFile(mixHalf(stream), 0, decoded, kHalfFrames, kHalfFrames);
}

TEST_F(Stream, StopThenPlayStartsSilentThenFromTheBeginning) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "stop.ogg", 20000, true));
  mixHalf(stream);
  mixHalf(stream);
  mixHalf(stream);
  stream.stopStream();
  EXPECT_FALSE(stream.isPlaying());
  expectSilent(mixHalf(stream, false), 0, kHalfFrames);
  stream.playStream(true);
  expectSilent(mixHalf(stream), 0, kHalfFrames);
  expectFile(mixHalf(stream), 0, decoded, 0, kHalfFrames);
}

TEST_F(Stream, MusicMasterReachesAPlayingStreamWithinATurn) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "master.ogg", 20000, true));
  long volume = 0;
  ring(stream)->GetVolume(&volume);
  EXPECT_EQ(volume, -12);
  KSound::setGlobalVolumes(40, 10); // the effects master does not touch music
  auto start = std::chrono::steady_clock::now();
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ring(stream)->GetVolume(&volume);
  } while (volume != fechnerTable[40] &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5));
  EXPECT_EQ(volume, fechnerTable[40]);
  // A turn is at most two 50 ms waits; allow for a slow (sanitised) run.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

TEST_F(Stream, NonOggFileShowsTheBox) {
  struct Box {
    int count = 0;
    std::string title, text;
  } box;
  hostTestSetMessageBoxHandler(
      [](void *context, const char *title, const char *text) {
        Box *b = static_cast<Box *>(context);
        ++b->count;
        b->title = title;
        b->text = text;
      },
      &box);
  KSound stream;
  Bytes text = {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'};
  const std::string notes = writeTemp("notes.txt", text);
  EXPECT_FALSE(stream.loadStream(notes.c_str()));
  EXPECT_EQ(box.count, 1);
  EXPECT_EQ(box.title, "error");
  EXPECT_EQ(box.text, "error could not detect ogg file: " + notes); // the file it could not read
  EXPECT_FALSE(stream.loadStream("/nonexistent/music.ogg"));        // missing: no box
  EXPECT_FALSE(stream.loadStream(writeTemp("empty.ogg", {}).c_str()));
  EXPECT_EQ(box.count, 1);
  // The same file again (the menu's music after each game): said once a run.
  EXPECT_FALSE(stream.loadStream(notes.c_str()));
  KSound another;
  EXPECT_FALSE(another.loadStream(notes.c_str()));
  EXPECT_EQ(box.count, 1);
  // Cut inside its headers, or with its first page damaged: not an Ogg file either.
  Bytes ogg = oggImage(2, 44100, sine(2, 44100, 3000, 440, 0.5));
  EXPECT_FALSE(
      stream.loadStream(writeTemp("cut.ogg", Bytes(ogg.begin(), ogg.begin() + 60)).c_str()));
  std::fill(ogg.begin() + 30, ogg.begin() + 50, 0xA5);
  EXPECT_FALSE(stream.loadStream(writeTemp("damaged.ogg", ogg).c_str()));
  EXPECT_EQ(box.count, 3);
  stream.playStream(true);
  stream.stopStream();
  EXPECT_FALSE(stream.isPlaying());
  hostTestSetMessageBoxHandler(nullptr, nullptr);
}

TEST_F(Stream, StopModuleWithoutModuleClearsAndCompletes) {
  KSound stream;
  ASSERT_NO_FATAL_FAILURE(start(stream, "plain.ogg", 20000, true));
  mixHalf(stream);
  EXPECT_GT(rms(mixHalf(stream), 0, 0, kHalfFrames), 0.1);
  stream.stopModule();
  EXPECT_FALSE(stream.isPlaying());
  stream.playSample(); // the ring plays what it holds: silence
  expectSilent(mixFrames(kHalfFrames), 0, kHalfFrames);
  // Completed: a refill leaves the half silent and stops the ring.
  stream.playSample();
  stream.fillOggBuffer(0);
  DWORD status = 1;
  ring(stream)->GetStatus(&status);
  EXPECT_EQ(status, 0u);
}

TEST_F(Stream, ModulePlaysAndStops) {
  KSound module;
  ASSERT_TRUE(module.loadModule(writeTemp("tune.mod", modImage()).c_str()));
  module.setVolume(100);
  module.playStream(true);
  expectSilent(mixHalf(module), 0, kHalfFrames);
  std::vector<int16_t> out = mixHalf(module);
  EXPECT_GT(rms(out, 0, 0, kHalfFrames), 0.02);
  EXPECT_GT(rms(mixHalf(module), 1, 0, kHalfFrames), 0.02);
  EXPECT_TRUE(module.isPlaying());

  module.stopModule();
  EXPECT_FALSE(module.isPlaying());
  module.fillModBuffer(0); // completed: nothing is rendered
  void *data, *second;
  DWORD bytes, secondBytes;
  ASSERT_EQ(ring(module)->Lock(0, 0, &data, &bytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
            DS_OK);
  std::vector<unsigned char> zeros(bytes, 0);
  EXPECT_EQ(std::memcmp(data, zeros.data(), bytes), 0);
  ring(module)->Unlock(data, bytes, second, secondBytes);

  module.playStream(true); // plays again from order 0
  mixHalf(module);
  EXPECT_GT(rms(mixHalf(module), 0, 0, kHalfFrames), 0.02);
}

TEST_F(Stream, RefillThreadCanEndItself) {
  KSound module;
  ASSERT_TRUE(module.loadModule(writeTemp("self.mod", modImage()).c_str()));
  module.playStream(true);
  mixHalf(module);
  KSoundProbe::markCompleted(module);
  mixHalf(module); // the refill thread meets the end and stops the module itself
  EXPECT_FALSE(module.isPlaying());
  module.setModulePosition(0);
  module.playStream(true); // the ended thread is collected, a new one starts
  EXPECT_TRUE(module.isPlaying());
  mixHalf(module);
  EXPECT_GT(rms(mixHalf(module), 0, 0, kHalfFrames), 0.02);
}

TEST_F(Stream, BadModulesLoadNothing) {
  Bytes mod = modImage();
  KSound module;
  EXPECT_FALSE(module.loadModule("/nonexistent/tune.it"));
  EXPECT_FALSE(module.loadModule(writeTemp("text.xm", {'h', 'i'}).c_str()));
  EXPECT_FALSE(
      module.loadModule(writeTemp("cut.mod", Bytes(mod.begin(), mod.begin() + 1000)).c_str()));
  EXPECT_FALSE(module.loadModule(writeTemp("empty.s3m", {}).c_str()));
  Bytes tagged(mod.begin(), mod.begin() + 600); // the right tags over the wrong bytes
  std::copy_n("IMPM", 4, tagged.begin());
  EXPECT_FALSE(module.loadModule(writeTemp("garbled.it", tagged).c_str()));
  std::copy_n("Extended Module: ", 17, tagged.begin());
  EXPECT_FALSE(module.loadModule(writeTemp("garbled.xm", tagged).c_str()));
  Bytes paired = mod; // a well-formed module whose tag would crash the module reader
  std::copy_n("FLT8", 4, paired.begin() + 1080);
  EXPECT_FALSE(module.loadModule(writeTemp("paired.mod", paired).c_str()));
  module.playStream(true);
  module.stopModule();
  module.setModulePosition(3);
  EXPECT_FALSE(module.isPlaying());
}

} // namespace
