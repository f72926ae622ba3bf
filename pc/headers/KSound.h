#ifndef KSOUND_H
#define KSOUND_H

// KSound: the engine's one sound class. An object holds one sound:
//   - a sample (WAV or Ogg Vorbis, decoded once, played from 1..9 identical buffer copies),
//   - a streamed Ogg Vorbis file (decoded on the fly into a 32768-byte ring of two halves,
//     refilled by a thread of its own),
//   - or a tracker module (IT, XM, S3M, MOD rendered by DUMB into the same ring).
// Volumes are 0..100, combined as master x own / 100 and turned into an attenuation
// (hundredths of a decibel) through fechnerTable; pans are -100 (left) .. 100 (right).
// One sound device is shared by all objects and counted by _instanceCount; with no device
// every object loads nothing and stays silent.

#include <atomic>
#include <cstdint>
#include <mutex>

#include <vorbis/vorbisfile.h>

struct IDirectSound;
struct IDirectSoundBuffer;
struct IDirectSoundNotify;
struct DUH;
struct DUH_SIGRENDERER;
namespace zy {
class Event;
class Thread;
} // namespace zy

// PCM format record, laid out as the body of a WAV "fmt " chunk (little-endian, packed).
#pragma pack(push, 1)
struct KWaveFormat {
  uint16_t wFormatTag;      // 1 = PCM
  uint16_t nChannels;       // channels
  uint32_t nSamplesPerSec;  // sample rate in Hz
  uint32_t nAvgBytesPerSec; // rate x block align
  uint16_t nBlockAlign;     // bytes per frame
  uint16_t wBitsPerSample;  // bits per sample
  uint16_t cbSize;          // extra bytes: 20 for Ogg samples, 18 for streams
};
#pragma pack(pop)

// A loaded tracker module and its renderer.
struct sModuleInfo {
  DUH *_moduleData;
  DUH_SIGRENDERER *_moduleRenderer;
  bool allowLooping; // set by loadModule: modules start again at their end
};

// Module mixing rate: 44100, or 22050 when the device driver is emulated.
extern float gFREQUENCY;
// True unless the device driver is emulated; recorded, not read.
extern bool _acceleratedDSound;
// Attenuation (hundredths of a dB) for volume 0..100: [1] -5523, [50] -831, [99] -12, [100] 0.
extern long fechnerTable[101];
// Pan value for pan + 100 (entries 0..200 used): [0] -10000, [100] 0, [200] 10000.
extern long panningtable[202];

class KSound {
public:
  KSound();
  virtual ~KSound();

  // --- samples
  // Loads a WAV file, or an Ogg Vorbis file when the name contains ".ogg", into
  // copyCount (1..9) buffers. volume 0..100 is stored as given. True on success.
  bool loadSample(const char *filename, int volume = 100, bool loop = false, short copyCount = 1);
  void playSample();    // starts the next copy in rotation (1, 2, 0, ...), cutting it if it sounds
  void stopSample();    // stops every copy
  bool isPlaying();     // true while any copy (or the stream) plays
  void restoreSample(); // refills lost buffers from the data kept in memory

  // --- volume and pan (all copies)
  void setVolume(int volume); // clamped to 0..100, stored, applied with the master volume
  void setPan(long pan);      // clamped to -100..100, applied, not stored
  // Masters 0..100; a negative value leaves that master unchanged. Music first, effects second.
  static void setGlobalVolumes(int musicVolume, int sfxVolume);

  // --- streams
  bool loadStream(const char *filename);  // keeps the Ogg file image in memory; false if unreadable
  void playStream(bool loop);             // starts from the beginning with a new refill thread
  void stopStream();                      // stops, silences and rewinds; the thread stays
  void fillOggBuffer(unsigned long half); // refills one half (called by the refill thread)

  // --- modules
  // Reads an IT, XM, S3M or MOD file from memory, ready for playStream; it loops until
  // stopped. Music master volume. False for anything else.
  bool loadModule(const char *filename);
  void fillModBuffer(unsigned long half); // renders one half (called by the refill thread)
  void setModulePosition(int order);      // restarts the renderer at an order
  void stopModule();                      // stops, clears, rewinds to order 0, marks completed

  // Process-wide state.
  static IDirectSound *directSoundPtr;
  static int _instanceCount;
  // Read by refill threads while the game thread sets them: atomics.
  static std::atomic<long> _masterSFXvolume;
  static std::atomic<long> _masterMUSICvolume;
  static ov_callbacks ogg_CallBacks;

private:
  friend struct KSoundProbe; // tests look at the buffers through ksound_testing.h

  void init();
  static void precalcTable();
  IDirectSoundBuffer *createDSoundBuffer(short slot, unsigned long size, bool notify);
  void clearSoundBuffer(short slot, long size);
  unsigned long loadFileToRam(const char *filename);
  long ParseWavHeader(unsigned char *image, unsigned long size);
  static long flipLong(long value);
  bool loadOggSample(const char *filename);
  void freeAllocatedData();

  bool startNotifiers();
  static void doubleBufferThread(void *sound);
  void killThread();
  void killModule();
  void releaseSlot(short slot);

  // The memory reader behind ogg_CallBacks; data source is the KSound.
  static size_t oggRead(void *dest, size_t size, size_t count, void *source);
  static int oggSeek(void *source, ogg_int64_t offset, int origin);
  static int oggClose(void *source);
  static long oggTell(void *source);

  short _soundBufferCount;
  std::atomic<int> _channelVolume; // also set by the refill thread
  std::atomic<int> _loopState;
  char _type;
  int _whatPartIsPlaying;
  int _currentBeingPlayed;
  sModuleInfo _moduleStorage;
  KWaveFormat *_waveFormatEx;
  unsigned char *_wavDataStart;
  uint32_t _wavLength;
  KWaveFormat _oggFormatEx;
  OggVorbis_File _vorbisFile;
  bool _oggFile;
  IDirectSoundBuffer *_directSoundBuffer[9];
  IDirectSoundNotify *_dsNotify;
  zy::Event *hEvents[2];
  zy::Thread *hThread;
  unsigned long threadID;
  std::atomic<bool> _terminate;
  std::atomic<bool> _terminated;
  std::atomic<bool> _ready;
  std::atomic<bool> _oggCompleted;
  std::recursive_mutex _decoderLock; // the decoder or module renderer, shared by both threads
  uint32_t _oggPosition;
  uint32_t _oggFileLen;
  unsigned char *_wavData;
  bool _counted; // this object raised _instanceCount (not when the device failed to open)
};

#endif
