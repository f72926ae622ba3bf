#include "draw/image_io.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

static uint8_t byte(float v) { return uint8_t(std::lround(std::clamp(v, 0.f, 1.f) * 255)); }

std::vector<uint8_t> rgba8(const Layer &layer) {
  std::vector<uint8_t> out;
  out.reserve(size_t(layer.width()) * layer.height() * 4);
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x) {
      Color c = layer.get(x, y);
      uint8_t a = byte(c.a);
      if (a == 0) c = {};
      out.insert(out.end(), {byte(c.r), byte(c.g), byte(c.b), a});
    }
  return out;
}

std::vector<uint8_t> tgaBytes(const Layer &layer) {
  int w = layer.width(), h = layer.height();
  std::vector<uint8_t> out = {0,
                              0,
                              10,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              uint8_t(w & 255),
                              uint8_t(w >> 8),
                              uint8_t(h & 255),
                              uint8_t(h >> 8),
                              32,
                              0x28}; // 8 alpha bits, first row at the top
  std::vector<uint8_t> px = rgba8(layer);
  auto pixel = [&](int x, int y) {
    const uint8_t *p = &px[(size_t(y) * w + x) * 4];
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 |
           uint32_t(p[3]) << 24; // B G R A
  };
  auto put = [&](uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  // Run-length packets, never crossing a row: a run of equal pixels, or up to 128 literal ones.
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      int run = 1;
      while (x + run < w && run < 128 && pixel(x + run, y) == pixel(x, y)) ++run;
      if (run > 1) {
        out.push_back(uint8_t(0x80 | (run - 1)));
        put(pixel(x, y));
        x += run;
        continue;
      }
      int lit = 1;
      while (x + lit < w && lit < 128 &&
             !(x + lit + 1 < w && pixel(x + lit, y) == pixel(x + lit + 1, y)))
        ++lit;
      out.push_back(uint8_t(lit - 1));
      for (int i = 0; i < lit; ++i) put(pixel(x + i, y));
      x += lit;
    }
  }
  return out;
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool writeTga(const std::string &path, const Layer &layer) {
  return writeFile(path, tgaBytes(layer));
}

std::vector<uint8_t> pngBytes(const Layer &layer) {
  std::vector<uint8_t> out, px = rgba8(layer);
  auto sink = [](void *ctx, void *data, int size) {
    auto *bytes = static_cast<uint8_t *>(data);
    static_cast<std::vector<uint8_t> *>(ctx)->insert(
        static_cast<std::vector<uint8_t> *>(ctx)->end(), bytes, bytes + size);
  };
  stbi_write_png_to_func(sink, &out, layer.width(), layer.height(), 4, px.data(),
                         layer.width() * 4);
  return out;
}

bool writePng(const std::string &path, const Layer &layer) {
  return writeFile(path, pngBytes(layer));
}
