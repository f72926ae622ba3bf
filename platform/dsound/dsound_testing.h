#ifndef ZY_DSOUND_TESTING_H
#define ZY_DSOUND_TESTING_H

// Test hooks of the software DirectSound.
//
// Manual output: call dsoundTestUseManualOutput(true) before the device is created (before the
// first KSound). The device then opens no SDL audio and only mixes when a test calls
// dsoundTestMix(pcm, frames): 44100 Hz stereo interleaved 16-bit samples, exactly what SDL would
// have been given. dsoundTestFailCreate(true) makes DirectSoundCreate fail as with no audio
// device; dsoundTestReportEmulated(true) makes the caps report an emulated driver.
//
// Recording: dsoundTestRecord(true) starts a log of the calls a scripted test wants to see;
// dsoundTestTakeRecords() returns it and empties it. Each record names the buffer (its
// IDirectSoundBuffer pointer) and the value passed (volume in hundredths of a dB, pan
// -10000..10000, frequency in Hz, position in bytes, 1 for a looping Play). To know which
// buffers belong to a KSound, use KSoundProbe::buffer(sound, copy) from ksound_testing.h:
//   dsoundTestRecord(true);  ... the game plays ...
//   for (const DsRecord &r : dsoundTestTakeRecords())
//     if (r.call == DsCall::Play && KSoundProbe::owns(*snd_shipshot, r.buffer)) ...
//   (the SetVolume record of the same buffer just before its Play holds its volume)

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsound.h"

enum class DsCall { Create, Play, Stop, SetVolume, SetPan, SetFrequency, SetPosition, Release };

struct DsRecord {
  DsCall call;
  const IDirectSoundBuffer *buffer;
  long value;
};

void dsoundTestUseManualOutput(bool manual);
void dsoundTestFailCreate(bool fail);
void dsoundTestReportEmulated(bool emulated);

// Paced output: with pacing on, SDL's output (the "disk" driver in a test) mixes only the frames
// handed to it by dsoundTestAdvanceOutput, which then waits until the output has mixed every
// whole period it was given (false after 5 s without). A scripted run hands it 735 frames a
// frame and is heard as at 60 frames a second however fast it runs. Closing the device, or
// pacing off, lets the output run free.
void dsoundTestPaceOutput(bool on);
bool dsoundTestAdvanceOutput(size_t frames);

// Mixes `frames` frames of the live device into pcm (2 x frames samples); false (and silence)
// when there is no device.
bool dsoundTestMix(int16_t *pcm, size_t frames);

void dsoundTestRecord(bool on);
std::vector<DsRecord> dsoundTestTakeRecords();

// Unlock calls on a buffer so far: a test waits for a refill by watching it grow.
unsigned long dsoundTestUnlockCount(const IDirectSoundBuffer *buffer);
// Buffers alive on the device (0 without a device).
int dsoundTestLiveBuffers();

#endif
