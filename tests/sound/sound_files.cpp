#include "sound_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include "dsound_testing.h"

namespace {

// Every sound test mixes on demand: set before the first KSound makes the device.
const bool gManualOutput = (dsoundTestUseManualOutput(true), true);

void put16(Bytes &out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void put32(Bytes &out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void putTag(Bytes &out, const char *tag) { out.insert(out.end(), tag, tag + 4); }

} // namespace

Bytes pcm16(const std::vector<int16_t> &samples) {
  Bytes out;
  for (int16_t s : samples) put16(out, uint16_t(s));
  return out;
}

Bytes wavImage(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes &pcm) {
  Bytes out;
  uint16_t align = uint16_t(channels * bits / 8);
  putTag(out, "RIFF");
  put32(out, uint32_t(36 + pcm.size()));
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);
  put16(out, channels);
  put32(out, rate);
  put32(out, rate * align);
  put16(out, align);
  put16(out, bits);
  putTag(out, "data");
  put32(out, uint32_t(pcm.size()));
  out.insert(out.end(), pcm.begin(), pcm.end());
  return out;
}

std::vector<float> sine(int channels, long rate, long frames, double hz, double amplitude) {
  std::vector<float> out;
  for (long i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      out.push_back(float(amplitude * std::sin(2.0 * M_PI * hz * double(i) / double(rate))));
  return out;
}

Bytes oggImage(int channels, long rate, const std::vector<float> &interleaved) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.5f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1234);
  Bytes out;
  ogg_page page;
  auto flushPages = [&](bool force) {
    while (force ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
      out.insert(out.end(), page.header, page.header + page.header_len);
      out.insert(out.end(), page.body, page.body + page.body_len);
    }
  };
  ogg_packet header, comment, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comment, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comment);
  ogg_stream_packetin(&os, &codebooks);
  flushPages(true);

  long frames = long(interleaved.size()) / channels;
  const long chunk = 1024;
  for (long start = 0;; start += chunk) {
    long n = std::min(chunk, frames - start); // 0 at the end: no more samples
    if (n > 0) {
      float **buffer = vorbis_analysis_buffer(&vd, int(n));
      for (long i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c)
          buffer[c][i] = interleaved[size_t((start + i) * channels + c)];
    }
    vorbis_analysis_wrote(&vd, int(n > 0 ? n : 0));
    ogg_packet packet;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        flushPages(false);
      }
    }
    if (n <= 0) break;
  }
  flushPages(true);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

Bytes modImage() {
  Bytes out(1084, 0);
  std::memcpy(out.data(), "zyphora test", 12);
  unsigned char *sample = out.data() + 20; // sample 1 of 31
  std::memcpy(sample, "square", 6);
  sample[22] = 0;
  sample[23] = 32; // 32 words
  sample[25] = 64; // volume
  sample[29] = 32; // repeat 32 words from 0: loops
  out[950] = 1;    // one order
  out[951] = 127;
  out[952] = 0; // pattern 0
  std::memcpy(out.data() + 1080, "M.K.", 4);
  Bytes pattern(64 * 4 * 4, 0);
  const int period = 428; // C-2
  pattern[0] = uint8_t((1 & 0xF0) | (period >> 8));
  pattern[1] = uint8_t(period & 0xFF);
  pattern[2] = uint8_t((1 & 0x0F) << 4);
  out.insert(out.end(), pattern.begin(), pattern.end());
  for (int i = 0; i < 64; ++i) out.push_back(uint8_t(i < 32 ? 100 : -100));
  return out;
}

namespace {

// One folder a test program, made at the first file and removed with everything in it at exit.
struct TempFolder {
  std::string path;
  TempFolder() {
    char pattern[] = "/tmp/zysound.XXXXXX";
    if (mkdtemp(pattern)) path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
};

} // namespace

std::string writeTemp(const std::string &name, const Bytes &bytes) {
  static TempFolder folder;
  std::string path = (folder.path.empty() ? std::string("/tmp") : folder.path) + "/" + name;
  writeFile(path, bytes);
  return path;
}

void writeFile(const std::string &path, const Bytes &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (f) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

std::vector<int16_t> decodeOgg(const std::string &path) {
  std::vector<int16_t> out;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return out;
  char buffer[4096];
  int bitstream = 0;
  long got;
  while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &bitstream)) > 0)
    for (long i = 0; i + 1 < got; i += 2)
      out.push_back(int16_t(uint16_t(uint8_t(buffer[i])) | uint16_t(uint8_t(buffer[i + 1])) << 8));
  ov_clear(&file);
  return out;
}

std::vector<int16_t> mixFrames(size_t frames) {
  std::vector<int16_t> out(frames * 2);
  dsoundTestMix(out.data(), frames);
  return out;
}

double rms(const std::vector<int16_t> &stereo, int channel, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) {
    double s = stereo[2 * i + size_t(channel)] / 32768.0;
    sum += s * s;
  }
  return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

std::vector<int16_t> readRaw(const char *path) {
  std::vector<int16_t> samples;
  FILE *file = std::fopen(path, "rb");
  if (!file) return samples;
  int16_t block[4096];
  size_t got;
  while ((got = std::fread(block, sizeof block[0], 4096, file)) > 0)
    samples.insert(samples.end(), block, block + got);
  std::fclose(file);
  return samples;
}

size_t longestSilence(const std::vector<int16_t> &stereo, size_t from, size_t to) {
  size_t longest = 0, run = 0;
  for (size_t f = from; f < to; ++f) {
    run = stereo[2 * f] == 0 && stereo[2 * f + 1] == 0 ? run + 1 : 0;
    longest = run > longest ? run : longest;
  }
  return longest;
}
