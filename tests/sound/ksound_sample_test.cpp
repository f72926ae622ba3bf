// KSound samples: curves, volume and pan in the mixed output, copies, masters, WAV and Ogg files.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "KSound.h"
#include "dsound.h"
#include "dsound_testing.h"
#include "ksound_testing.h"
#include "sound_files.h"

namespace {

const double kFull = 32767.0 / 32768.0;

double gainOf(long attenuation) {
  return attenuation <= -10000 ? 0.0 : std::pow(10.0, attenuation / 2000.0);
}

long volumeOf(const KSound &sound, int copy) {
  long volume = 1;
  KSoundProbe::buffer(sound, copy)->GetVolume(&volume);
  return volume;
}

// A stereo WAV of a constant level on both channels.
std::string constantWav(const char *name, int16_t level, size_t frames) {
  return writeTemp(name, wavImage(2, 44100, 16, pcm16(std::vector<int16_t>(frames * 2, level))));
}

class Sample : public ::testing::Test {
protected:
  void SetUp() override { KSound::setGlobalVolumes(100, 100); }
  void TearDown() override {
    KSound::setGlobalVolumes(100, 100);
    EXPECT_EQ(dsoundTestLiveBuffers(), 0);
  }
};

TEST_F(Sample, CurvesHaveTheirTellingEntries) {
  KSound sound;
  const long fechner[][2] = {{0, -10000}, {1, -5523}, {10, -2761}, {50, -831},
                             {80, -267},  {99, -12},  {100, 0}};
  for (auto &entry : fechner) EXPECT_EQ(fechnerTable[entry[0]], entry[1]) << "volume " << entry[0];
  const long pan[][2] = {{0, -10000}, {1, -10000}, {10, -5000},  {50, -1505}, {90, -228},
                         {100, 0},    {150, 1505}, {199, 10000}, {200, 10000}};
  for (auto &entry : pan) EXPECT_EQ(panningtable[entry[0]], entry[1]) << "index " << entry[0];
}

TEST_F(Sample, VolumeAndPanReachTheOutput) {
  std::string path = constantWav("level.wav", 16000, 4000);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 50, false, 1));
  DSBCAPS caps{sizeof(DSBCAPS), 0, 0}; // volume, pan, frequency; heard whatever window has focus
  KSoundProbe::buffer(sound, 0)->GetCaps(&caps);
  EXPECT_EQ(caps.dwFlags, 0x80E8u);
  sound.setPan(-50); // left of centre: the right channel loses 15.05 dB
  sound.playSample();
  EXPECT_TRUE(sound.isPlaying());
  auto out = mixFrames(1000);
  double level = 16000.0 / 32768 * kFull;
  EXPECT_NEAR(rms(out, 0, 0, 1000) / level, gainOf(-831), 0.002);
  EXPECT_NEAR(rms(out, 1, 0, 1000) / level, gainOf(-831) * gainOf(-1505), 0.002);
  sound.setPan(250); // acts as 100: full right
  EXPECT_EQ(rms(mixFrames(100), 0, 0, 100), 0.0);
  sound.setPan(99);
  long pan = 0;
  KSoundProbe::buffer(sound, 0)->GetPan(&pan);
  EXPECT_EQ(pan, 10000);
}

TEST_F(Sample, VolumeIsClampedAndTheLoudestIsEntry99) {
  std::string path = constantWav("clamp.wav", 16000, 4000);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 100, false, 2));
  sound.setVolume(150);
  EXPECT_EQ(KSoundProbe::channelVolume(sound), 100);
  EXPECT_EQ(volumeOf(sound, 0), -12);
  EXPECT_EQ(volumeOf(sound, 1), -12);
  sound.setVolume(-5);
  EXPECT_EQ(KSoundProbe::channelVolume(sound), 0);
  EXPECT_EQ(volumeOf(sound, 1), -10000);
  sound.playSample();
  EXPECT_EQ(rms(mixFrames(500), 0, 0, 500), 0.0);
}

TEST_F(Sample, CopiesPlayInRotationAndTheOldestIsCut) {
  std::string path = constantWav("shot.wav", 8000, 20000);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 100, false, 3));
  EXPECT_EQ(KSoundProbe::copies(sound), 3);
  dsoundTestRecord(true);
  std::vector<int> started;
  for (int play = 0; play < 4; ++play) {
    sound.playSample();
    started.push_back(KSoundProbe::currentCopy(sound));
    mixFrames(1000);
  }
  dsoundTestRecord(false);
  EXPECT_EQ(started, (std::vector<int>{1, 2, 0, 1}));
  int plays = 0;
  for (const DsRecord &r : dsoundTestTakeRecords())
    if (r.call == DsCall::Play) {
      EXPECT_EQ(r.buffer, KSoundProbe::buffer(sound, started[size_t(plays)]));
      EXPECT_TRUE(KSoundProbe::owns(sound, r.buffer));
      ++plays;
    }
  EXPECT_EQ(plays, 4);
  // Copy 1 was restarted by the fourth play; copies 2 and 0 went on.
  DWORD cursor[3];
  for (int copy = 0; copy < 3; ++copy)
    KSoundProbe::buffer(sound, copy)->GetCurrentPosition(&cursor[copy], nullptr);
  EXPECT_EQ(cursor[1], 1000u * 4);
  EXPECT_EQ(cursor[2], 3000u * 4);
  EXPECT_EQ(cursor[0], 2000u * 4);
  // Three copies sound together: three times the level of one, clipped nowhere.
  auto out = mixFrames(10);
  EXPECT_NEAR(out[0], 3 * 8000 * gainOf(-12) * kFull, 2.0);

  KSound few, many;
  ASSERT_TRUE(few.loadSample(path.c_str(), 100, false, 0));
  ASSERT_TRUE(many.loadSample(path.c_str(), 100, false, 12));
  EXPECT_EQ(KSoundProbe::copies(few), 1);
  EXPECT_EQ(KSoundProbe::copies(many), 9);
  EXPECT_NE(KSoundProbe::buffer(many, 8), nullptr);
}

TEST_F(Sample, MastersReachAnEffectAtItsNextPlay) {
  std::string path = constantWav("master.wav", 16000, 40000);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 100, true, 1));
  sound.playSample();
  EXPECT_EQ(volumeOf(sound, 0), -12);
  KSound::setGlobalVolumes(-1, 50);
  EXPECT_EQ(KSound::_masterMUSICvolume, 100);
  EXPECT_EQ(KSound::_masterSFXvolume, 50);
  EXPECT_EQ(volumeOf(sound, 0), -12); // not yet
  double before = rms(mixFrames(500), 0, 0, 500);
  sound.playSample();
  EXPECT_EQ(volumeOf(sound, 0), -831);
  double after = rms(mixFrames(500), 0, 0, 500);
  EXPECT_NEAR(after / before, gainOf(-831) / gainOf(-12), 0.002);
  KSound::setGlobalVolumes(30, -1);
  EXPECT_EQ(KSound::_masterMUSICvolume, 30);
  EXPECT_EQ(KSound::_masterSFXvolume, 50);
}

TEST_F(Sample, WavDataBeforeFormatFails) {
  Bytes good = wavImage(1, 44100, 16, pcm16({1, 2, 3, 4}));
  // Move the "data" chunk (last 16 bytes) in front of the "fmt " chunk.
  Bytes swapped = good;
  std::rotate(swapped.begin() + 12, swapped.end() - 16, swapped.end());
  KSound sound;
  EXPECT_FALSE(sound.loadSample(writeTemp("swapped.wav", swapped).c_str(), 100, false, 1));
  EXPECT_EQ(KSoundProbe::buffer(sound, 0), nullptr);
  sound.playSample();
  EXPECT_FALSE(sound.isPlaying());
}

TEST_F(Sample, TheFirstDataAnywhereIsThePcm) {
  Bytes image = wavImage(1, 44100, 16, pcm16({7, 7, 7, 7}));
  // A LIST chunk between "fmt " and "data" whose text holds the four letters "data".
  Bytes list = {'L', 'I', 'S', 'T', 14,  0, 0, 0, 'I', 'N',  'F',
                'O', 'd', 'a', 't', 'a', 4, 0, 0, 0,   0x34, 0x12};
  image.insert(image.begin() + 36, list.begin(), list.end());
  KSound sound;
  ASSERT_TRUE(sound.loadSample(writeTemp("list.wav", image).c_str(), 100, false, 1));
  EXPECT_EQ(KSoundProbe::pcmBytes(sound), 4u);
  const unsigned char *pcm = KSoundProbe::pcm(sound);
  EXPECT_EQ(pcm[0], 0x34);
  EXPECT_EQ(pcm[1], 0x12);
  EXPECT_EQ(pcm[2], 'd'); // the real "data" chunk's header follows
  EXPECT_EQ(KSoundProbe::format(sound)->nSamplesPerSec, 44100u);
}

TEST_F(Sample, DataLengthStaysInsideTheImage) {
  KSound sound;
  Bytes image = {'f',  'm', 't',  ' ',  16,   0,    0, 0, 1, 0,  1, 0,   0x44,
                 0xAC, 0,   0,    0x88, 0x58, 1,    0, 2, 0, 16, 0, 'd', 'a',
                 't',  'a', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4,  5, 6};
  EXPECT_EQ(KSoundProbe::parseWav(sound, image.data(), image.size()), 6); // declared 2 GB, 6 follow
  for (size_t cut = 25; cut <= 31; ++cut) { // "data" with its length cut short
    Bytes shortImage(image.begin(), image.begin() + long(cut));
    long result = KSoundProbe::parseWav(sound, shortImage.data(), shortImage.size());
    EXPECT_LE(result, 0) << "cut at " << cut;
  }
}

TEST_F(Sample, OggNameCaseChoosesTheDecoder) {
  Bytes ogg = oggImage(1, 44100, sine(1, 44100, 3000, 440, 0.5));
  Bytes wav = wavImage(1, 44100, 16, pcm16(std::vector<int16_t>(100, 1000)));
  KSound sound;
  EXPECT_TRUE(sound.loadSample(writeTemp("boom.ogg", ogg).c_str(), 100, false, 1));
  EXPECT_FALSE(sound.loadSample(writeTemp("BOOM.OGG", ogg).c_str(), 100, false, 1));
  EXPECT_TRUE(sound.loadSample(writeTemp("BOOM.OGG", wav).c_str(), 100, false, 1));
  EXPECT_FALSE(sound.loadSample(writeTemp("boom.ogg", wav).c_str(), 100, false, 1));
}

TEST_F(Sample, OggSampleHoldsTheWholeDecodedFile) {
  std::string path = writeTemp("chime.ogg", oggImage(2, 22050, sine(2, 22050, 5000, 880, 0.4)));
  std::vector<int16_t> decoded = decodeOgg(path);
  ASSERT_EQ(decoded.size(), 10000u);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 100, false, 2));
  for (int copy = 0; copy < 2; ++copy) {
    void *data, *second;
    DWORD bytes, secondBytes;
    ASSERT_EQ(KSoundProbe::buffer(sound, copy)
                  ->Lock(0, 0, &data, &bytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
              DS_OK);
    ASSERT_EQ(bytes, 20000u);
    EXPECT_EQ(std::memcmp(data, decoded.data(), bytes), 0);
    KSoundProbe::buffer(sound, copy)->Unlock(data, bytes, second, secondBytes);
  }
  EXPECT_EQ(KSoundProbe::format(sound), nullptr); // the decode-time format is gone with the load
  // 22050 Hz plays at its own pitch: each decoded frame lasts two output frames.
  sound.setVolume(100);
  sound.playSample();
  auto out = mixFrames(200);
  EXPECT_NEAR(out[2 * 100], decoded[2 * 50] * gainOf(-12) * kFull, 2.0);
}

TEST_F(Sample, BadFilesLoadNothing) {
  Bytes wav = wavImage(2, 44100, 16, pcm16(std::vector<int16_t>(400, 300)));
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"empty.wav", {}},
      {"header.wav", Bytes(wav.begin(), wav.begin() + 30)},
      {"nodata.wav", Bytes(wav.begin(), wav.begin() + 40)},
      {"twelvebit.wav", wavImage(2, 44100, 12, Bytes(300, 1))}, // a format no buffer takes
      {"empty.ogg", {}},
      {"text.ogg", Bytes{'h', 'e', 'l', 'l', 'o'}},
      {"cut.ogg",
       [] {
         Bytes ogg = oggImage(1, 44100, sine(1, 44100, 4000, 440, 0.5));
         return Bytes(ogg.begin(), ogg.begin() + 60);
       }()},
  };
  KSound sound;
  EXPECT_FALSE(sound.loadSample("/nonexistent/zyphora.wav", 100, false, 1));
  EXPECT_FALSE(sound.loadSample(nullptr, 100, false, 1));
  for (const auto &file : files) {
    EXPECT_FALSE(sound.loadSample(writeTemp(file.first, file.second).c_str(), 100, false, 3))
        << file.first;
    EXPECT_EQ(dsoundTestLiveBuffers(), 0) << file.first;
    sound.playSample();
    sound.setVolume(50);
    sound.setPan(10);
    sound.stopSample();
    sound.restoreSample();
    EXPECT_FALSE(sound.isPlaying());
  }
}

TEST_F(Sample, StoppedAndRestoredSamplesKeepTheirSound) {
  std::string path = constantWav("restore.wav", 12000, 5000);
  KSound sound;
  ASSERT_TRUE(sound.loadSample(path.c_str(), 100, false, 1));
  sound.playSample();
  sound.stopSample();
  EXPECT_FALSE(sound.isPlaying());
  sound.restoreSample();
  sound.playSample();
  EXPECT_NEAR(mixFrames(10)[0], 12000 * gainOf(-12) * kFull, 1.0);
}

TEST(Device, SharedCountedAndReleased) {
  {
    KSound first, second;
    EXPECT_EQ(KSound::_instanceCount, 2);
    EXPECT_NE(KSound::directSoundPtr, nullptr);
    EXPECT_EQ(gFREQUENCY, 44100.0f);
  }
  EXPECT_EQ(KSound::_instanceCount, 0);
  EXPECT_EQ(KSound::directSoundPtr, nullptr);

  dsoundTestReportEmulated(true);
  {
    KSound emulated;
    EXPECT_EQ(gFREQUENCY, 22050.0f);
    EXPECT_FALSE(_acceleratedDSound);
  }
  dsoundTestReportEmulated(false);
}

TEST(Device, NoDeviceMeansSilentObjects) {
  dsoundTestFailCreate(true);
  std::string path = constantWav("silent.wav", 1000, 100);
  {
    KSound sound;
    EXPECT_EQ(KSound::directSoundPtr, nullptr);
    EXPECT_EQ(KSound::_instanceCount, 0); // the next object tries again
    EXPECT_FALSE(sound.loadSample(path.c_str(), 100, false, 1));
    sound.playSample();
    EXPECT_FALSE(sound.isPlaying());
  }
  // An object made without a device is not counted: the next one opens the device and
  // keeps it while it lives, whatever the order of destruction.
  dsoundTestFailCreate(false);
  auto silent = std::make_unique<KSound>();
  EXPECT_EQ(KSound::_instanceCount, 1);
  dsoundTestFailCreate(true);
  auto late = std::make_unique<KSound>();
  EXPECT_EQ(KSound::_instanceCount, 2);
  EXPECT_TRUE(late->loadSample(path.c_str(), 100, false, 1));
  silent.reset();
  EXPECT_EQ(KSound::_instanceCount, 1);
  EXPECT_NE(KSound::directSoundPtr, nullptr);
  late.reset();
  EXPECT_EQ(KSound::_instanceCount, 0);
  EXPECT_EQ(KSound::directSoundPtr, nullptr);
  dsoundTestFailCreate(false);
}

} // namespace
