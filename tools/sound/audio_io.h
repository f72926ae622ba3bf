// Encoding sounds: 16-bit PCM RIFF WAV, and Ogg Vorbis through libvorbisenc.
#pragma once
#include <cstdint>
#include <vector>

#include "sound/synth.h"

std::vector<uint8_t> wavBytes(const Wave &mono);
// Channels are given as separate waves of equal length (1 = mono, 2 = left and right).
// The stream's serial number is fixed, so the same waves always give the same bytes.
std::vector<uint8_t> oggBytes(const std::vector<Wave> &channels, float quality, int serial);
