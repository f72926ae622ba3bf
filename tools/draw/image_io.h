// Writing pictures: 32-bit TGA (the game's format) and PNG (the window icon, previews).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "draw/layer.h"

// 8-bit straight RGBA, rows from the top; fully transparent pixels are black.
std::vector<uint8_t> rgba8(const Layer &layer);
// Run-length compressed 32-bit true-colour TGA with alpha, stored top row first.
std::vector<uint8_t> tgaBytes(const Layer &layer);
// PNG, compressed by stb_image_write.
std::vector<uint8_t> pngBytes(const Layer &layer);
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
bool writeTga(const std::string &path, const Layer &layer);
bool writePng(const std::string &path, const Layer &layer);
