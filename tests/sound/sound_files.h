#ifndef SOUND_FILES_H
#define SOUND_FILES_H

// Sound files the sound tests write for themselves, and the manual-output helpers.

#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// A RIFF/WAVE image: "fmt " then "data" (16-bit or 8-bit PCM).
Bytes wavImage(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes &pcm);
// Little-endian 16-bit PCM bytes of the given samples.
Bytes pcm16(const std::vector<int16_t> &samples);
// An Ogg Vorbis file of the interleaved float samples (-1..1).
Bytes oggImage(int channels, long rate, const std::vector<float> &interleaved);
// A sine of `frames` frames at `hz` and amplitude `amplitude`, the same on every channel.
std::vector<float> sine(int channels, long rate, long frames, double hz, double amplitude);
// A 4-channel ProTracker module: one looping square-wave sample played on row 0.
Bytes modImage();

// Writes bytes to a file under the test's temporary folder; returns its path.
std::string writeTemp(const std::string &name, const Bytes &bytes);
// Writes bytes to a file.
void writeFile(const std::string &path, const Bytes &bytes);
// Decodes an Ogg file completely (16-bit interleaved), as libvorbisfile does for the engine.
std::vector<int16_t> decodeOgg(const std::string &path);

// Mixes frames from the manual output (stereo interleaved).
std::vector<int16_t> mixFrames(size_t frames);
// The 16-bit samples of a raw recording (SDL's "disk" driver writes them), empty when unreadable.
std::vector<int16_t> readRaw(const char *path);
// The longest run of stereo frames silent on both channels, in frames [from, to).
size_t longestSilence(const std::vector<int16_t> &stereo, size_t from, size_t to);
// Root mean square of one channel (0 left, 1 right) of stereo samples in [from, to) frames.
double rms(const std::vector<int16_t> &stereo, int channel, size_t from, size_t to);

#endif
