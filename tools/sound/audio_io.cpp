#include "sound/audio_io.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

static void put16(std::vector<uint8_t> &b, uint32_t v) {
  b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
}
static void put32(std::vector<uint8_t> &b, uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }
static void tag(std::vector<uint8_t> &b, const char *t) { b.insert(b.end(), t, t + 4); }

std::vector<uint8_t> wavBytes(const Wave &w) {
  std::vector<uint8_t> b;
  uint32_t data = uint32_t(w.size() * 2);
  tag(b, "RIFF"), put32(b, 36 + data), tag(b, "WAVE");
  tag(b, "fmt "), put32(b, 16), put16(b, 1), put16(b, 1), put32(b, kRate), put32(b, kRate * 2),
      put16(b, 2), put16(b, 16);
  tag(b, "data"), put32(b, data);
  for (float s : w) put16(b, uint16_t(int16_t(std::lround(std::clamp(s, -1.f, 1.f) * 32767))));
  return b;
}

namespace {
// Owns the encoder's state for one stream and appends every finished page to `out`.
struct Encoder {
  vorbis_info vi;
  vorbis_comment vc;
  vorbis_dsp_state vd;
  vorbis_block vb;
  ogg_stream_state os;
  std::vector<uint8_t> &out;

  Encoder(int channels, float quality, int serial, std::vector<uint8_t> &bytes) : out(bytes) {
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, kRate, quality))
      throw std::runtime_error("vorbis encoder refused its settings");
    vorbis_comment_init(&vc);
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_init(&os, serial);
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &id, &comments, &codebooks);
    ogg_stream_packetin(&os, &id);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) append(page); // audio starts on a fresh page
  }
  ~Encoder() {
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
  }
  void append(const ogg_page &p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  }
  void drain(bool last) {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&os, &page)) append(page);
      }
    }
    ogg_page page;
    while (last && ogg_stream_flush(&os, &page)) append(page);
  }
};
} // namespace

std::vector<uint8_t> oggBytes(const std::vector<Wave> &channels, float quality, int serial) {
  std::vector<uint8_t> bytes;
  Encoder enc(int(channels.size()), quality, serial, bytes);
  const size_t chunk = 4096, total = channels[0].size();
  for (size_t at = 0; at < total; at += chunk) {
    size_t n = std::min(chunk, total - at);
    float **buf = vorbis_analysis_buffer(&enc.vd, int(n));
    for (size_t c = 0; c < channels.size(); ++c)
      for (size_t i = 0; i < n; ++i) buf[c][i] = channels[c][at + i];
    vorbis_analysis_wrote(&enc.vd, int(n));
    enc.drain(false);
  }
  vorbis_analysis_wrote(&enc.vd, 0);
  enc.drain(true);
  return bytes;
}
