// IDirectSoundBuffer and IDirectSoundNotify over the mixer's Voice.
#include <algorithm>
#include <cstring>

#include "dsound_internal.h"

namespace {

DsBuffer *impl(IDirectSoundBuffer *buffer) { return static_cast<DsBuffer *>(buffer); }

bool hasControl(IDirectSoundBuffer *buffer, DWORD control) {
  return (impl(buffer)->flags & control) != 0;
}

} // namespace

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, void **part1, DWORD *bytes1,
                                 void **part2, DWORD *bytes2, DWORD flags) {
  DsBuffer *self = impl(this);
  DWORD size = DWORD(self->memory.size());
  if (flags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = size;
  }
  if (!part1 || !bytes1 || offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  DWORD first = std::min(bytes, size - offset);
  *part1 = self->memory.data() + offset;
  *bytes1 = first;
  if (part2) *part2 = bytes > first ? self->memory.data() : nullptr;
  if (bytes2) *bytes2 = bytes - first;
  if (bytes > first && (!part2 || !bytes2))
    return DSERR_INVALIDPARAM; // the region wraps and the caller cannot take its second part
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void *, DWORD, void *, DWORD) {
  ++impl(this)->unlocks;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD flags) {
  DsBuffer *self = impl(this);
  dsoundRecordCall(DsCall::Play, this, (flags & DSBPLAY_LOOPING) ? 1 : 0);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.playing = true;
  self->voice.looping = (flags & DSBPLAY_LOOPING) != 0;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop() {
  DsBuffer *self = impl(this);
  dsoundRecordCall(DsCall::Stop, this, 0);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.playing = false;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position) {
  DsBuffer *self = impl(this);
  if (position >= self->memory.size()) return DSERR_INVALIDPARAM;
  dsoundRecordCall(DsCall::SetPosition, this, long(position));
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.pos = uint64_t(position / self->voice.blockAlign) << zy::kFracBits;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD *play, DWORD *write) {
  DsBuffer *self = impl(this);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  DWORD cursor = DWORD(self->voice.pos >> zy::kFracBits) * self->voice.blockAlign;
  if (play) *play = cursor;
  if (write) *write = cursor;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD *status) {
  if (!status) return DSERR_INVALIDPARAM;
  DsBuffer *self = impl(this);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  *status = 0;
  if (self->voice.playing)
    *status = DSBSTATUS_PLAYING | (self->voice.looping ? DSBSTATUS_LOOPING : 0);
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCaps(DSBCAPS *caps) {
  if (!caps) return DSERR_INVALIDPARAM;
  caps->dwFlags = impl(this)->flags;
  caps->dwBufferBytes = DWORD(impl(this)->memory.size());
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(long volume) {
  if (!hasControl(this, DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  DsBuffer *self = impl(this);
  dsoundRecordCall(DsCall::SetVolume, this, volume);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.volume = volume;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(long *volume) {
  DsBuffer *self = impl(this);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  *volume = self->voice.volume;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetPan(long pan) {
  if (!hasControl(this, DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  DsBuffer *self = impl(this);
  dsoundRecordCall(DsCall::SetPan, this, pan);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.pan = pan;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetPan(long *pan) {
  DsBuffer *self = impl(this);
  std::lock_guard<std::mutex> lock(self->device->mutex);
  *pan = self->voice.pan;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFrequency(DWORD frequency) {
  if (!hasControl(this, DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (frequency != DSBFREQUENCY_ORIGINAL &&
      (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX))
    return DSERR_INVALIDPARAM;
  DsBuffer *self = impl(this);
  dsoundRecordCall(DsCall::SetFrequency, this, long(frequency));
  std::lock_guard<std::mutex> lock(self->device->mutex);
  self->voice.frequency = frequency;
  return DS_OK;
}

// Buffers are never lost here, so there is nothing to get back.
HRESULT IDirectSoundBuffer::Restore() { return DS_OK; }

HRESULT IDirectSoundBuffer::QueryInterface(REFIID iid, void **object) {
  if (!object) return DSERR_INVALIDPARAM;
  *object = nullptr;
  if (iid != IID_IDirectSoundNotify || !hasControl(this, DSBCAPS_CTRLPOSITIONNOTIFY))
    return DSERR_NOINTERFACE;
  ++impl(this)->references; // the notifier keeps its buffer alive
  *object = new IDirectSoundNotify{this};
  return DS_OK;
}

unsigned long IDirectSoundBuffer::Release() {
  DsBuffer *self = impl(this);
  int left = --self->references;
  if (left > 0) return unsigned(left);
  dsoundRecordCall(DsCall::Release, this, 0);
  DsDevice *device = self->device;
  {
    std::lock_guard<std::mutex> lock(device->mutex);
    device->buffers.erase(std::find(device->buffers.begin(), device->buffers.end(), self));
  }
  delete self;
  device->Release();
  return 0;
}

HRESULT IDirectSoundNotify::SetNotificationPositions(DWORD count,
                                                     const DSBPOSITIONNOTIFY *positions) {
  DsBuffer *buffer = impl(_buffer);
  if (count && !positions) return DSERR_INVALIDPARAM;
  for (DWORD i = 0; i < count; ++i)
    if (positions[i].dwOffset >= buffer->memory.size()) return DSERR_INVALIDPARAM;
  std::lock_guard<std::mutex> lock(buffer->device->mutex);
  buffer->voice.notes.assign(positions, positions + count);
  return DS_OK;
}

unsigned long IDirectSoundNotify::Release() {
  _buffer->Release();
  delete this;
  return 0;
}
