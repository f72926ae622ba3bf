// IDirectSound: the device, its SDL output (or the manual one of the tests) and buffer creation.
#include <algorithm>
#include <cstring>
#include <new>

#include "dsound_internal.h"
#include "dsound_limiter.h"

namespace {

struct TestSwitches {
  std::atomic<bool> manualOutput{false};
  std::atomic<bool> failCreate{false};
  std::atomic<bool> emulated{false};
};
TestSwitches gSwitches;

std::mutex gLiveMutex;
DsDevice *gLive = nullptr; // the device the manual output mixes

const Uint16 kOutputFrames = 1024; // SDL callback period, ~23 ms

void audioCallback(void *userdata, Uint8 *stream, int len) {
  DsDevice *device = static_cast<DsDevice *>(userdata);
  const size_t frames = size_t(len) / 4;
  dsoundPaceWait(frames);
  {
    std::lock_guard<std::mutex> lock(device->mutex);
    device->mix(reinterpret_cast<int16_t *>(stream), frames);
  }
  dsoundPaceMixed(frames);
}

bool openOutput(DsDevice *device) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{}, have{};
  want.freq = int(zy::kOutputRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kOutputFrames;
  want.callback = audioCallback;
  want.userdata = device;
  device->output = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device->output == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device->scratch.resize(size_t(have.samples) * 2);
  SDL_PauseAudioDevice(device->output, 0);
  return true;
}

void closeOutput(DsDevice *device) {
  if (device->output == 0) return;
  dsoundTestPaceOutput(false); // a callback waiting for frames holds SDL's lock: let it go
  SDL_CloseAudioDevice(device->output);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device->output = 0;
}

bool validFormat(const WAVEFORMATEX *format) {
  return format && format->wFormatTag == 1 && format->nChannels >= 1 &&
         (format->wBitsPerSample == 8 || format->wBitsPerSample == 16) &&
         format->nBlockAlign >= format->nChannels * (format->wBitsPerSample / 8) &&
         format->nSamplesPerSec >= DSBFREQUENCY_MIN && format->nSamplesPerSec <= DSBFREQUENCY_MAX;
}

} // namespace

void DsDevice::mix(int16_t *pcm, size_t frames) {
  if (scratch.size() < frames * 2) scratch.resize(frames * 2);
  std::fill(scratch.begin(), scratch.begin() + frames * 2, 0.0f);
  voices.clear();
  for (DsBuffer *buffer : buffers) voices.push_back(&buffer->voice);
  zy::mixFast(voices.data(), voices.size(), scratch.data(), frames);
  zy::limitPeaks(scratch.data(), frames);
  zy::mixToPcm16(scratch.data(), pcm, frames);
}

HRESULT DirectSoundCreate(const void *, IDirectSound **device, void *) {
  if (!device) return DSERR_INVALIDPARAM;
  *device = nullptr;
  if (gSwitches.failCreate) return DSERR_NODRIVER;
  DsDevice *created = new (std::nothrow) DsDevice;
  if (!created) return DSERR_OUTOFMEMORY;
  if (!gSwitches.manualOutput && !openOutput(created)) {
    delete created;
    return DSERR_NODRIVER;
  }
  {
    std::lock_guard<std::mutex> lock(gLiveMutex);
    gLive = created;
  }
  *device = created;
  return DS_OK;
}

HRESULT IDirectSound::GetCaps(DSCAPS *caps) {
  if (!caps) return DSERR_INVALIDPARAM;
  caps->dwFlags = gSwitches.emulated ? DSCAPS_EMULDRIVER : 0;
  return DS_OK;
}

// There is no other application to share the device with: every level is accepted.
HRESULT IDirectSound::SetCooperativeLevel(void *, DWORD level) {
  return level == DSSCL_NORMAL || level == DSSCL_PRIORITY ? DS_OK : DSERR_INVALIDPARAM;
}

// The output is always stereo.
HRESULT IDirectSound::SetSpeakerConfig(DWORD config) {
  return config == DSSPEAKER_STEREO ? DS_OK : DSERR_INVALIDPARAM;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC *desc, IDirectSoundBuffer **buffer,
                                        void *) {
  if (!buffer) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (!desc || !validFormat(desc->lpwfxFormat) ||
      desc->dwBufferBytes < desc->lpwfxFormat->nBlockAlign)
    return DSERR_INVALIDPARAM;
  DsDevice *device = static_cast<DsDevice *>(this);
  DsBuffer *created = new (std::nothrow) DsBuffer;
  if (!created) return DSERR_OUTOFMEMORY;
  const WAVEFORMATEX &format = *desc->lpwfxFormat;
  try {
    created->memory.assign(desc->dwBufferBytes, format.wBitsPerSample == 8 ? 0x80 : 0);
  } catch (const std::bad_alloc &) {
    delete created;
    return DSERR_OUTOFMEMORY;
  }
  created->device = device;
  created->flags = desc->dwFlags;
  zy::Voice &voice = created->voice;
  voice.data = created->memory.data();
  voice.blockAlign = format.nBlockAlign;
  voice.frames = desc->dwBufferBytes / format.nBlockAlign;
  voice.channels = format.nChannels;
  voice.bits = format.wBitsPerSample;
  voice.rate = format.nSamplesPerSec;
  device->addReference();
  {
    std::lock_guard<std::mutex> lock(device->mutex);
    device->buffers.push_back(created);
  }
  dsoundRecordCall(DsCall::Create, created, long(desc->dwBufferBytes));
  *buffer = created;
  return DS_OK;
}

unsigned long IDirectSound::Release() {
  DsDevice *self = static_cast<DsDevice *>(this);
  int left = --self->references;
  if (left > 0) return unsigned(left);
  {
    std::lock_guard<std::mutex> lock(gLiveMutex);
    if (gLive == self) gLive = nullptr;
  }
  closeOutput(self);
  delete self;
  return 0;
}

DsDevice *dsoundLiveDevice() { return gLive; }

// ---- test hooks

void dsoundTestUseManualOutput(bool manual) { gSwitches.manualOutput = manual; }
void dsoundTestFailCreate(bool fail) { gSwitches.failCreate = fail; }
void dsoundTestReportEmulated(bool emulated) { gSwitches.emulated = emulated; }

bool dsoundTestMix(int16_t *pcm, size_t frames) {
  std::lock_guard<std::mutex> live(gLiveMutex);
  if (!gLive || gLive->output != 0) {
    std::fill(pcm, pcm + 2 * frames, int16_t(0));
    return false;
  }
  std::lock_guard<std::mutex> lock(gLive->mutex);
  gLive->mix(pcm, frames);
  return true;
}

unsigned long dsoundTestUnlockCount(const IDirectSoundBuffer *buffer) {
  return static_cast<const DsBuffer *>(buffer)->unlocks;
}

int dsoundTestLiveBuffers() {
  std::lock_guard<std::mutex> live(gLiveMutex);
  if (!gLive) return 0;
  std::lock_guard<std::mutex> lock(gLive->mutex);
  return int(gLive->buffers.size());
}
