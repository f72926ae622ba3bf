#ifndef ZY_DSOUND_H
#define ZY_DSOUND_H

// Software DirectSound: the subset KSound uses, with DirectSound's names and units.
// Secondary buffers of any PCM format are resampled to 44100 Hz stereo, mixed in float with
// clipping and played through one SDL audio stream. Volume is in hundredths of a decibel
// (0 = full, -10000 = silent; gain 10^(v/2000)); pan is -10000..10000 (negative attenuates the
// right channel, positive the left). A buffer offers only the controls its DSBCAPS_CTRL flags
// ask for (else DSERR_CONTROLUNAVAIL). Buffers are never lost. Tests mix on demand through the
// manual output of dsound_testing.h.

#include <cstdint>

#include "win_types.h"

namespace zy {
class Event;
}

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = -2147467259L;      // 0x80004005
constexpr HRESULT DSERR_INVALIDPARAM = -2147024809L; // 0x80070057
constexpr HRESULT DSERR_OUTOFMEMORY = -2147024882L;  // 0x8007000E
constexpr HRESULT DSERR_NODRIVER = -2005401480L;     // 0x88780078
constexpr HRESULT DSERR_BUFFERLOST = -2005401450L;   // 0x88780096, never produced here
constexpr HRESULT DSERR_NOINTERFACE = -2147467262L;  // 0x80004002
constexpr HRESULT DSERR_CONTROLUNAVAIL =
    -2005401570L; // 0x8878001E, a control the buffer was made without

// Buffer capabilities (DSBUFFERDESC::dwFlags).
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x8;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;
constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x100;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr DWORD DSBPLAY_LOOPING = 0x1;      // Play flag
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x2; // Lock flag
constexpr DWORD DSBSTATUS_PLAYING = 0x1;    // GetStatus bits
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x2;
constexpr DWORD DSBSTATUS_LOOPING = 0x4;
constexpr DWORD DSBSTATUS_LOCHARDWARE = 0x8;
constexpr DWORD DSBSTATUS_LOCSOFTWARE = 0x10;
constexpr DWORD DSCAPS_EMULDRIVER = 0x20; // DSCAPS::dwFlags
constexpr DWORD DSSCL_NORMAL = 1;         // cooperative levels
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSPEAKER_STEREO = 4;
constexpr long DSBVOLUME_MIN = -10000; // silent
constexpr long DSBVOLUME_MAX = 0;
constexpr long DSBPAN_LEFT = -10000;
constexpr long DSBPAN_RIGHT = 10000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

struct DSCAPS {
  DWORD dwSize;
  DWORD dwFlags;
};

// A buffer's own description (IDirectSoundBuffer::GetCaps).
struct DSBCAPS {
  DWORD dwSize;
  DWORD dwFlags; // the DSBCAPS_ flags it was created with
  DWORD dwBufferBytes;
};

// A buffer's sample format: the body of a WAV "fmt " chunk (little-endian, packed).
#pragma pack(push, 1)
struct WAVEFORMATEX {
  WORD wFormatTag; // 1 = PCM, the only format taken
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec; // rate x block align
  WORD nBlockAlign;      // bytes per frame
  WORD wBitsPerSample;   // 8 or 16
  WORD cbSize;           // extra bytes after the record
};
#pragma pack(pop)

struct DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;
  DWORD dwReserved;
  const WAVEFORMATEX *lpwfxFormat;
};

// A notification: when the play cursor passes dwOffset, hEventNotify is set.
struct DSBPOSITIONNOTIFY {
  DWORD dwOffset;
  zy::Event *hEventNotify;
};

enum REFIID { IID_IDirectSoundNotify = 1 };

struct IDirectSoundBuffer;

struct IDirectSoundNotify {
  HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY *positions);
  unsigned long Release();
  IDirectSoundBuffer *_buffer;
};

struct IDirectSound {
  HRESULT GetCaps(DSCAPS *caps);
  HRESULT SetCooperativeLevel(void *window, DWORD level);
  HRESULT SetSpeakerConfig(DWORD config);
  HRESULT CreateSoundBuffer(const DSBUFFERDESC *desc, IDirectSoundBuffer **buffer, void *outer);
  unsigned long Release();
};

struct IDirectSoundBuffer {
  // Two-part lock: a region running past the end of the ring continues at its start.
  HRESULT Lock(DWORD offset, DWORD bytes, void **part1, DWORD *bytes1, void **part2, DWORD *bytes2,
               DWORD flags);
  HRESULT Unlock(void *part1, DWORD bytes1, void *part2, DWORD bytes2);
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
  HRESULT Stop();
  HRESULT SetCurrentPosition(DWORD position);
  HRESULT GetCurrentPosition(DWORD *play, DWORD *write);
  HRESULT GetStatus(DWORD *status);
  HRESULT GetCaps(DSBCAPS *caps);
  HRESULT SetVolume(long volume);
  HRESULT GetVolume(long *volume);
  HRESULT SetPan(long pan);
  HRESULT GetPan(long *pan);
  HRESULT SetFrequency(DWORD frequency);
  HRESULT Restore();
  // IID_IDirectSoundNotify, for buffers made with DSBCAPS_CTRLPOSITIONNOTIFY.
  HRESULT QueryInterface(REFIID iid, void **object);
  unsigned long Release();
};

// The default device; fails (DSERR_NODRIVER) when no audio device opens.
HRESULT DirectSoundCreate(const void *guid, IDirectSound **device, void *outer);

#endif
