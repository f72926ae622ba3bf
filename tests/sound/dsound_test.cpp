// The software DirectSound: mixer against its reference, units, locks, cursor, notifications.
#include <cmath>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "dsound_limiter.h"
#include "dsound_mixer.h"
#include "dsound_testing.h"
#include "sound_files.h"
#include "zy_thread.h"

namespace {

WAVEFORMATEX pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t align = uint16_t(channels * bits / 8);
  return WAVEFORMATEX{1, channels, rate, rate * align, align, bits, 0};
}

struct Device {
  IDirectSound *ds = nullptr;
  Device() { EXPECT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK); }
  ~Device() {
    if (ds) ds->Release();
  }
  static const DWORD kControls =
      DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPOSITIONNOTIFY;
  IDirectSoundBuffer *buffer(WAVEFORMATEX format, DWORD bytes, const void *pcm = nullptr,
                             DWORD flags = kControls) {
    DSBUFFERDESC desc{20, flags, bytes, 0, &format};
    IDirectSoundBuffer *b = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
    if (b && pcm) {
      void *p1, *p2;
      DWORD n1, n2;
      b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER);
      std::memcpy(p1, pcm, n1);
      b->Unlock(p1, n1, p2, n2);
    }
    return b;
  }
};

std::vector<int16_t> constant(size_t frames, int16_t left, int16_t right) {
  std::vector<int16_t> s;
  for (size_t i = 0; i < frames; ++i) {
    s.push_back(left);
    s.push_back(right);
  }
  return s;
}

// Random voices of every format, rate and position, mixed by both mixers from the same state.
TEST(Mixer, FastMatchesReference) {
  std::mt19937 random(7);
  std::vector<std::vector<uint8_t>> data(12);
  std::vector<zy::Voice> fast(12), slow;
  const uint32_t rates[] = {8000, 11025, 22050, 44100, 48000, 96000};
  for (size_t v = 0; v < fast.size(); ++v) {
    zy::Voice &voice = fast[v];
    voice.channels = uint16_t(1 + v % 2);
    voice.bits = v % 3 == 0 ? 8 : 16;
    voice.blockAlign = voice.channels * voice.bits / 8u;
    voice.frames = 300 + uint32_t(random() % 3000);
    data[v].resize(size_t(voice.frames) * voice.blockAlign);
    for (uint8_t &b : data[v]) b = uint8_t(random());
    voice.data = data[v].data();
    voice.rate = rates[v % 6];
    voice.frequency = v == 5 ? 30000 : 0;
    voice.volume = -long(random() % 3000);
    voice.pan = long(random() % 20001) - 10000;
    voice.looping = v % 4 != 1;
    voice.playing = v != 7;
    voice.pos = (uint64_t(random() % voice.frames) << zy::kFracBits) | random();
  }
  slow = fast;
  std::vector<zy::Voice *> fastList, slowList;
  for (size_t v = 0; v < fast.size(); ++v) {
    fastList.push_back(&fast[v]);
    slowList.push_back(&slow[v]);
  }
  for (int round = 0; round < 4; ++round) {
    std::vector<float> a(2 * 2048, 0.0f), b(2 * 2048, 0.0f);
    zy::mixFast(fastList.data(), fastList.size(), a.data(), 2048);
    zy::mixReference(slowList.data(), slowList.size(), b.data(), 2048);
    for (size_t i = 0; i < a.size(); ++i)
      ASSERT_NEAR(a[i], b[i], 1e-5) << "round " << round << " sample " << i;
    for (size_t v = 0; v < fast.size(); ++v) {
      EXPECT_EQ(fast[v].pos, slow[v].pos);
      EXPECT_EQ(fast[v].playing, slow[v].playing);
    }
  }
  EXPECT_FALSE(fast[1].playing); // a one-shot voice ran out
}

TEST(Mixer, GainsFollowHundredthsOfDecibels) {
  EXPECT_DOUBLE_EQ(zy::attenuationGain(0), 1.0);
  EXPECT_NEAR(zy::attenuationGain(-600), 0.501187, 1e-6); // -6 dB
  EXPECT_NEAR(zy::attenuationGain(-2000), 0.1, 1e-12);
  EXPECT_EQ(zy::attenuationGain(-10000), 0.0);
  zy::Voice voice;
  double left, right;
  voice.pan = -2000; // left: the right channel is attenuated by 20 dB
  zy::voiceGains(voice, &left, &right);
  EXPECT_DOUBLE_EQ(left, 1.0);
  EXPECT_NEAR(right, 0.1, 1e-12);
  voice.pan = 10000;
  zy::voiceGains(voice, &left, &right);
  EXPECT_EQ(left, 0.0);
  EXPECT_DOUBLE_EQ(right, 1.0);
}

TEST(Mixer, ClipsAndScales) {
  float in[6] = {2.0f, -3.0f, 0.5f, -0.5f, 0.0f, 1.0f};
  int16_t out[6];
  zy::mixToPcm16(in, out, 3);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], -32767);
  EXPECT_EQ(out[2], 16384);
  EXPECT_EQ(out[3], -16384);
  EXPECT_EQ(out[4], 0);
  EXPECT_EQ(out[5], 32767);
}

TEST(DirectSound, BuffersSoundAtTheirVolumeAndPan) {
  Device device;
  auto pcm = constant(1000, 16000, 16000);
  IDirectSoundBuffer *b = device.buffer(pcmFormat(2, 44100, 16), 4000, pcm.data());
  EXPECT_EQ(b->SetVolume(-600), DS_OK);
  EXPECT_EQ(b->SetPan(-10000), DS_OK);
  EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
  b->Play(0, 0, 0);
  auto out = mixFrames(10);
  EXPECT_NEAR(out[0], 16000.0 / 32768 * 0.501187 * 32767, 1.0);
  EXPECT_EQ(out[1], 0);
  b->Release();
}

// Three sounds at -4 dBFS on top of each other: the output bends them under full scale instead
// of clipping, and one alone, under the limiter's threshold, is untouched.
TEST(DirectSound, TheOutputIsLimitedNotClipped) {
  Device device;
  auto loud = constant(1000, 20000, -20000);
  IDirectSoundBuffer *b[3];
  for (IDirectSoundBuffer *&buffer : b) {
    buffer = device.buffer(pcmFormat(2, 44100, 16), 4000, loud.data());
    buffer->Play(0, 0, DSBPLAY_LOOPING);
  }
  auto out = mixFrames(100);
  for (size_t i = 0; i < out.size(); i += 2) {
    ASSERT_GT(out[i], 0.9 * 32767) << i;
    ASSERT_LT(out[i], 32767) << i;
    ASSERT_EQ(out[i + 1], -out[i]) << i;
  }
  b[1]->Stop();
  b[2]->Stop();
  out = mixFrames(10);
  EXPECT_NEAR(out[0], 20000.0 / 32768 * 32767, 0.5);
  for (IDirectSoundBuffer *buffer : b) buffer->Release();
}

TEST(DirectSound, OneShotEndsAndLoopWraps) {
  Device device;
  auto pcm = constant(100, 1000, -1000);
  IDirectSoundBuffer *once = device.buffer(pcmFormat(2, 44100, 16), 400, pcm.data());
  once->Play(0, 0, 0);
  DWORD status;
  once->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING);
  auto out = mixFrames(150);
  EXPECT_EQ(out[2 * 99], 1000);
  EXPECT_EQ(out[2 * 100], 0);
  once->GetStatus(&status);
  EXPECT_EQ(status, 0u);

  once->SetCurrentPosition(0);
  once->Play(0, 0, DSBPLAY_LOOPING);
  once->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  out = mixFrames(250);
  EXPECT_EQ(out[2 * 249 + 1], -1000);
  DWORD play;
  once->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(play, 50u * 4);
  once->Stop();
  out = mixFrames(10);
  EXPECT_EQ(out[0], 0);
  once->Release();
}

TEST(DirectSound, ResamplesToTheOutputRate) {
  Device device;
  std::vector<int16_t> mono; // a ramp at 22050 Hz: each frame is heard twice, interpolated
  for (int i = 0; i < 100; ++i) mono.push_back(int16_t(i * 100));
  IDirectSoundBuffer *b = device.buffer(pcmFormat(1, 22050, 16), 200, mono.data());
  b->Play(0, 0, 0);
  auto out = mixFrames(8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(out[2 * i], i * 50 * 32767.0 / 32768, 1.0);
    EXPECT_EQ(out[2 * i], out[2 * i + 1]);
  }
  b->SetFrequency(44100); // now one frame per output frame
  out = mixFrames(2);
  EXPECT_NEAR(out[2] - out[0], 100, 1);
  EXPECT_EQ(b->SetFrequency(50), DSERR_INVALIDPARAM);
  b->Release();
}

TEST(DirectSound, EightBitIsUnsigned) {
  Device device;
  uint8_t pcm[4] = {128, 255, 0, 192};
  IDirectSoundBuffer *b = device.buffer(pcmFormat(1, 44100, 8), 4, pcm);
  b->Play(0, 0, 0);
  auto out = mixFrames(4);
  EXPECT_EQ(out[0], 0);
  // The extremes are over the output limiter's threshold: heard through its curve.
  EXPECT_NEAR(out[2], zy::limitSample(127.0f / 128) * 32767, 1);
  EXPECT_EQ(out[4], std::lround(zy::limitSample(-1.0f) * 32767));
  EXPECT_NEAR(out[6], 16384, 1);
  b->Release();
}

TEST(DirectSound, LocksWrapInTwoParts) {
  Device device;
  IDirectSoundBuffer *b = device.buffer(pcmFormat(2, 44100, 16), 1000);
  void *p1, *p2;
  DWORD n1, n2;
  ASSERT_EQ(b->Lock(800, 400, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 200u);
  EXPECT_EQ(n2, 200u);
  EXPECT_EQ(static_cast<uint8_t *>(p1) - static_cast<uint8_t *>(p2), 800);
  b->Unlock(p1, n1, p2, n2);
  ASSERT_EQ(b->Lock(0, 500, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 500u);
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(n2, 0u);
  b->Unlock(p1, n1, p2, n2);
  EXPECT_EQ(b->Lock(1000, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Lock(0, 1001, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(dsoundTestUnlockCount(b), 2u);
  b->Release();
}

TEST(DirectSound, NotificationsSetEventsAsTheCursorPasses) {
  Device device;
  IDirectSoundBuffer *b = device.buffer(pcmFormat(2, 44100, 16), 32768);
  void *object = nullptr;
  ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, &object), DS_OK);
  IDirectSoundNotify *notify = static_cast<IDirectSoundNotify *>(object);
  zy::Event first, second;
  DSBPOSITIONNOTIFY positions[2] = {{0, &first}, {16384, &second}};
  ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
  b->Play(0, 0, DSBPLAY_LOOPING);
  mixFrames(1); // frame 0 starts playing
  EXPECT_TRUE(first.wait(0));
  EXPECT_FALSE(second.wait(0));
  mixFrames(4095); // frames 1..4095: the cursor reaches 16384 bytes, not yet played
  EXPECT_FALSE(second.wait(0));
  mixFrames(1); // frame 4096 = byte 16384
  EXPECT_TRUE(second.wait(0));
  EXPECT_FALSE(first.wait(0)); // auto-reset: the first wait cleared it
  mixFrames(4095);             // the cursor wraps to 0
  EXPECT_FALSE(first.wait(0));
  mixFrames(1);
  EXPECT_TRUE(first.wait(0));
  notify->Release();
  b->Release();
}

TEST(DirectSound, CreationRulesAndCaps) {
  dsoundTestFailCreate(true);
  IDirectSound *none = nullptr;
  EXPECT_EQ(DirectSoundCreate(nullptr, &none, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(none, nullptr);
  dsoundTestFailCreate(false);
  Device device;
  DSCAPS caps{sizeof(DSCAPS), 0};
  EXPECT_EQ(device.ds->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwFlags & DSCAPS_EMULDRIVER, 0u);
  EXPECT_EQ(device.ds->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  EXPECT_EQ(device.ds->SetSpeakerConfig(DSSPEAKER_STEREO), DS_OK);
  WAVEFORMATEX bad = pcmFormat(2, 44100, 12);
  DSBUFFERDESC desc{20, 0, 1000, 0, &bad};
  IDirectSoundBuffer *b = nullptr;
  EXPECT_EQ(device.ds->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);
  desc.lpwfxFormat = nullptr;
  EXPECT_EQ(device.ds->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(dsoundTestLiveBuffers(), 0);

  // A buffer has the controls it was made with, and no others.
  b = device.buffer(pcmFormat(1, 44100, 16), 100, nullptr,
                    DSBCAPS_LOCSOFTWARE | DSBCAPS_GLOBALFOCUS);
  DSBCAPS own{sizeof(DSBCAPS), 0, 0};
  EXPECT_EQ(b->GetCaps(&own), DS_OK);
  EXPECT_EQ(own.dwFlags, DSBCAPS_LOCSOFTWARE | DSBCAPS_GLOBALFOCUS);
  EXPECT_EQ(own.dwBufferBytes, 100u);
  EXPECT_EQ(b->SetVolume(-100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(b->SetPan(100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(b->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  void *notify = &own;
  EXPECT_EQ(b->QueryInterface(IID_IDirectSoundNotify, &notify), DSERR_NOINTERFACE);
  EXPECT_EQ(notify, nullptr);
  b->Release();
}

TEST(DirectSound, RecordsTheCallsOfEachBuffer) {
  Device device;
  IDirectSoundBuffer *a = device.buffer(pcmFormat(1, 44100, 16), 100);
  IDirectSoundBuffer *b = device.buffer(pcmFormat(1, 44100, 16), 100);
  dsoundTestRecord(true);
  a->SetVolume(-267);
  b->SetPan(1505);
  a->Play(0, 0, DSBPLAY_LOOPING);
  b->Stop();
  dsoundTestRecord(false);
  a->Play(0, 0, 0); // not recorded
  auto records = dsoundTestTakeRecords();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_TRUE(records[0].call == DsCall::SetVolume && records[0].buffer == a &&
              records[0].value == -267);
  EXPECT_TRUE(records[1].call == DsCall::SetPan && records[1].buffer == b &&
              records[1].value == 1505);
  EXPECT_TRUE(records[2].call == DsCall::Play && records[2].buffer == a && records[2].value == 1);
  EXPECT_TRUE(records[3].call == DsCall::Stop && records[3].buffer == b);
  EXPECT_TRUE(dsoundTestTakeRecords().empty());
  a->Release();
  b->Release();
}

TEST(Thread, EventWaitsTimesOutAndResets) {
  zy::Event event;
  EXPECT_FALSE(event.wait(1));
  std::atomic<int> seen{0};
  struct Context {
    zy::Event *event;
    std::atomic<int> *seen;
  } context{&event, &seen};
  zy::Thread *thread = zy::Thread::start(
      [](void *arg) {
        Context *c = static_cast<Context *>(arg);
        if (c->event->wait(5000)) ++*c->seen;
      },
      &context);
  ASSERT_NE(thread, nullptr);
  EXPECT_FALSE(thread->isCurrent());
  zy::sleepMs(5);
  event.set();
  thread->join();
  delete thread;
  EXPECT_EQ(seen, 1);
  EXPECT_FALSE(event.wait(0)); // the wake consumed the signal
}

} // namespace
