#ifndef KSOUND_TESTING_H
#define KSOUND_TESTING_H

// What tests may see of a KSound: its buffers (to match the records of dsound_testing.h), its
// copy rotation and the WAV parser.

#include "KSound.h"

struct KSoundProbe {
  static IDirectSoundBuffer *buffer(const KSound &sound, int copy) {
    return sound._directSoundBuffer[copy];
  }
  static bool owns(const KSound &sound, const void *buffer) {
    for (IDirectSoundBuffer *own : sound._directSoundBuffer)
      if (own && own == buffer) return true;
    return false;
  }
  static int copies(const KSound &sound) { return sound._soundBufferCount; }
  static int channelVolume(const KSound &sound) { return sound._channelVolume; }
  static int currentCopy(const KSound &sound) { return sound._currentBeingPlayed; }
  static long parseWav(KSound &sound, unsigned char *image, unsigned long size) {
    return sound.ParseWavHeader(image, size);
  }
  // As if the module or stream had reached its end: the next refill stops it.
  static void markCompleted(KSound &sound) { sound._oggCompleted = true; }
  static const KWaveFormat *format(const KSound &sound) { return sound._waveFormatEx; }
  static const unsigned char *pcm(const KSound &sound) { return sound._wavDataStart; }
  static unsigned long pcmBytes(const KSound &sound) { return sound._wavLength; }
};

#endif
