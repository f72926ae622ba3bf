// The picture codec: decoding by the caller's format, pixel access from the bottom row,
// alpha detection, damaged and cut input, the decoder chosen by the file's own name, and
// writing all four formats with resizing.
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "KImageFile.h"

namespace {

std::vector<unsigned char> readFile(const std::string &path) {
  std::vector<unsigned char> bytes;
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = fgetc(f)) != EOF) bytes.push_back((unsigned char)c);
  fclose(f);
  return bytes;
}

// An uncompressed true-colour TGA, rows stored from the bottom: 2 x 2, 32 bits with alpha.
std::vector<unsigned char> tga32() {
  std::vector<unsigned char> t = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
  const unsigned char bottom[] = {255, 0, 0, 255, /* blue */ 0, 255, 0, 128 /* half green */};
  const unsigned char top[] = {0, 0, 255, 255, /* red */ 10, 20, 30, 0 /* clear */};
  t.insert(t.end(), bottom, bottom + 8);
  t.insert(t.end(), top, top + 8);
  return t;
}

class Codec : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(mkdtemp(dir), nullptr); }
  void TearDown() override { EXPECT_EQ(system(("rm -rf " + std::string(dir)).c_str()), 0); }
  std::string file(const char *name) { return std::string(dir) + "/" + name; }
  char dir[24] = "/tmp/zyimageXXXXXX";
};

TEST(Decode, TgaWithAlphaReadsFromTheBottomRow) {
  auto bytes = tga32();
  KImageFile image;
  ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), K_IMAGE_TGA));
  EXPECT_EQ(image.getWidth(), 2);
  EXPECT_EQ(image.getHeight(), 2);
  EXPECT_EQ(image.getBpp(), 32);
  EXPECT_TRUE(image.hasAlpha());
  KImagePixel p = image.getPixel(0, 0, true); // bottom-left: blue
  EXPECT_EQ(p.b, 255);
  EXPECT_EQ(p.r, 0);
  EXPECT_EQ(p.a, 255);
  p = image.getPixel(1, 0, true);
  EXPECT_EQ(p.g, 255);
  EXPECT_EQ(p.a, 128);
  p = image.getPixel(0, 1, true); // top-left: red
  EXPECT_EQ(p.r, 255);
  EXPECT_EQ(p.b, 0);
  p = image.getPixel(1, 1, false);
  EXPECT_EQ(p.r, 30);
  EXPECT_EQ(p.g, 20);
  EXPECT_EQ(p.b, 10);
  EXPECT_EQ(p.a, 0);
  p = image.getPixel(0, 0, false);
  EXPECT_EQ(p.a, 0);                     // without alpha asked
  const uint8_t *rgba = image.getRGBA(); // rows from the top
  EXPECT_EQ(rgba[0], 255);
  EXPECT_EQ(rgba[2], 0);
  p = image.getPixel(2, 0, true);
  EXPECT_EQ(p.r | p.g | p.b | p.a, 0); // outside: nothing
  p = image.getPixel(0, -1, true);
  EXPECT_EQ(p.r | p.g | p.b | p.a, 0);
}

TEST(Decode, TheCallersFormatIsHonoured) {
  auto bytes = tga32();
  KImageFile image;
  EXPECT_FALSE(image.decode(bytes.data(), bytes.size(), K_IMAGE_PNG));
  EXPECT_FALSE(image.decode(bytes.data(), bytes.size(), K_IMAGE_JPG));
  EXPECT_FALSE(image.decode(bytes.data(), bytes.size(), K_IMAGE_BMP));
  EXPECT_FALSE(image.isValid());
  EXPECT_EQ(image.getWidth(), 0);
}

TEST(Decode, DamagedInputFailsAndLeavesTheImageEmpty) {
  auto bytes = tga32();
  KImageFile image;
  ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), K_IMAGE_TGA));
  EXPECT_FALSE(image.decode(bytes.data(), 10, K_IMAGE_TGA)); // truncated header
  EXPECT_FALSE(image.isValid());
  EXPECT_EQ(image.getHeight(), 0);
  EXPECT_FALSE(image.decode(nullptr, 100, K_IMAGE_TGA));
  EXPECT_FALSE(image.decode(bytes.data(), 0, K_IMAGE_TGA));
  auto unknownType = bytes;
  unknownType[2] = 7;
  EXPECT_FALSE(image.decode(unknownType.data(), unknownType.size(), K_IMAGE_TGA));
  auto huge = bytes; // 65535 x 65535 claimed by a few bytes
  huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
  EXPECT_FALSE(image.decode(huge.data(), huge.size(), K_IMAGE_TGA));
  auto wide = bytes; // a 4096 x 1 strip is the widest taken
  wide[12] = 0x00, wide[13] = 0x10, wide[14] = 1, wide[15] = 0;
  wide.resize(18 + 4096 * 4, 0x7F);
  EXPECT_TRUE(image.decode(wide.data(), wide.size(), K_IMAGE_TGA));
  EXPECT_EQ(image.getWidth(), 4096);
  wide[12] = 0x01; // 4097
  EXPECT_FALSE(image.decode(wide.data(), wide.size(), K_IMAGE_TGA));
  const unsigned char garbage[] = "\x89PNG\r\n\x1a\nnot really a png at all";
  EXPECT_FALSE(image.decode(garbage, sizeof garbage, K_IMAGE_PNG));
}

// A file of each format cut anywhere before its end is refused: nothing is made up for the
// missing pixels.
TEST_F(Codec, EveryFormatRefusesAFileCutShort) {
  std::vector<uint32_t> bgra(24 * 10);
  for (size_t i = 0; i < bgra.size(); i++) bgra[i] = 0xFF000000u | (uint32_t)(i * 0x010307);
  const struct {
    KImageFormat format;
    const char *name;
  } written[] = {{K_IMAGE_BMP, "cut.bmp"},
                 {K_IMAGE_JPG, "cut.jpg"},
                 {K_IMAGE_TGA, "cut.tga"},
                 {K_IMAGE_PNG, "cut.png"}};
  std::vector<std::pair<KImageFormat, std::vector<unsigned char>>> files;
  for (const auto &w : written) { // the TGA writer run-length encodes
    ASSERT_TRUE(KImageFile::save(file(w.name).c_str(), w.format,
                                 reinterpret_cast<const uint8_t *>(bgra.data()), K_IMAGE_BGRA, 24,
                                 10, 24 * 4, true));
    files.emplace_back(w.format, readFile(file(w.name)));
  }
  files.emplace_back(K_IMAGE_TGA, tga32()); // stored plainly
  for (const auto &f : files) {
    KImageFile image;
    ASSERT_TRUE(image.decode(f.second.data(), f.second.size(), f.first)) << f.first;
    long width = image.getWidth();
    for (size_t size = 0; size < f.second.size(); size++) {
      ASSERT_FALSE(image.decode(f.second.data(), size, f.first))
          << "format " << f.first << " cut to " << size;
      ASSERT_FALSE(image.isValid());
    }
    auto padded = f.second; // bytes after the end change nothing
    padded.resize(padded.size() + 100, 0xFF);
    ASSERT_TRUE(image.decode(padded.data(), padded.size(), f.first));
    EXPECT_EQ(image.getWidth(), width);
  }
}

TEST(Decode, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
  // A 101-byte PNG header claiming 40000 x 40000 pixels, and a real JPEG whose frame says 50000 x
  // 50000.
  std::vector<unsigned char> png = {0x89, 'P', 'N',  'G',  '\r', '\n', 0x1a, '\n', 0,    0,
                                    0,    13,  'I',  'H',  'D',  'R',  0,    0,    0x9C, 0x40,
                                    0,    0,   0x9C, 0x40, 8,    6,    0,    0,    0};
  png.resize(101, 0);
  KImageFile image;
  EXPECT_FALSE(image.decode(png.data(), png.size(), K_IMAGE_PNG));
  char dir[] = "/tmp/zyhugeXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string name = std::string(dir) + "/big.jpg";
  uint32_t pixels[64];
  for (uint32_t &p : pixels) p = 0xFF336699u;
  ASSERT_TRUE(KImageFile::save(name.c_str(), K_IMAGE_JPG, reinterpret_cast<const uint8_t *>(pixels),
                               K_IMAGE_BGRA, 8, 8, 32, true));
  auto jpeg = readFile(name);
  remove(name.c_str());
  rmdir(dir);
  ASSERT_TRUE(image.decode(jpeg.data(), jpeg.size(), K_IMAGE_JPG));
  for (size_t i = 0; i + 8 < jpeg.size(); i++)
    if (jpeg[i] == 0xFF &&
        (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) { // the frame: height, then width
      jpeg[i + 5] = jpeg[i + 7] = 0xC3;
      jpeg[i + 6] = jpeg[i + 8] = 0x50;
      break;
    }
  EXPECT_FALSE(image.decode(jpeg.data(), jpeg.size(), K_IMAGE_JPG));
}

TEST(FormatOfName, OnlyTheFilesOwnNameChoosesTheDecoder) {
  KImageFormat format = K_IMAGE_BMP;
  EXPECT_TRUE(KImageFile::formatOfName("/home/u/games/retro.png.collection/zyphora/data/menu.tga",
                                       false, format));
  EXPECT_EQ(format, K_IMAGE_TGA);
  EXPECT_TRUE(KImageFile::formatOfName("old.bmp.files\\data\\shot.jpg", false, format));
  EXPECT_EQ(format, K_IMAGE_JPG);
  EXPECT_FALSE(KImageFile::formatOfName("pictures.png/readme", false, format));
  EXPECT_TRUE(
      KImageFile::formatOfName("sheet.tga.png", false, format)); // a later format in the name wins
  EXPECT_EQ(format, K_IMAGE_PNG);
  EXPECT_TRUE(KImageFile::formatOfName("sheet.png.tga", false, format)); // whatever their places
  EXPECT_EQ(format, K_IMAGE_PNG);
  EXPECT_TRUE(KImageFile::formatOfName("DATA/Ship.BMP", true, format));
  EXPECT_EQ(format, K_IMAGE_BMP);
  EXPECT_FALSE(
      KImageFile::formatOfName("Data.Files/SHIP.BMP", false, format)); // case kept when asked
  EXPECT_FALSE(KImageFile::formatOfName(nullptr, true, format));
}

TEST_F(Codec, LosslessFormatsRoundTripOpaquePixels) {
  // 4 x 2, blue in the lowest byte, rows from the bottom as the Direct3D writer gives them.
  const uint32_t bgra[8] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF,  // bottom row
                            0xFF000000, 0xFF808080, 0x00FF00FF, 0xFF123456}; // top row
  const struct {
    KImageFormat format;
    const char *name;
    int tolerance;
  } formats[] = {
      {K_IMAGE_BMP, "shot.bmp", 0}, {K_IMAGE_TGA, "shot.tga", 0}, {K_IMAGE_PNG, "shot.png", 0}};
  for (const auto &f : formats) {
    ASSERT_TRUE(KImageFile::save(file(f.name).c_str(), f.format,
                                 reinterpret_cast<const uint8_t *>(bgra), K_IMAGE_BGRA, 4, 2, 16,
                                 true))
        << f.name;
    auto bytes = readFile(file(f.name));
    KImageFile image;
    ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), f.format)) << f.name;
    ASSERT_EQ(image.getWidth(), 4);
    ASSERT_EQ(image.getHeight(), 2);
    EXPECT_FALSE(image.hasAlpha()) << f.name; // screenshots are opaque
    for (int y = 0; y < 2; y++)
      for (int x = 0; x < 4; x++) {
        uint32_t want = bgra[y * 4 + x];
        KImagePixel p = image.getPixel(x, y, true);
        EXPECT_NEAR(p.b, want & 0xFF, f.tolerance) << f.name << " " << x << "," << y;
        EXPECT_NEAR(p.g, want >> 8 & 0xFF, f.tolerance) << f.name << " " << x << "," << y;
        EXPECT_NEAR(p.r, want >> 16 & 0xFF, f.tolerance) << f.name << " " << x << "," << y;
        EXPECT_EQ(p.a, 255);
      }
  }
}

TEST_F(Codec, JpegKeepsFlatColoursClose) {
  // 16 x 16: left half red, right half blue (flat areas the size of JPEG's blocks).
  std::vector<uint32_t> bgra(256);
  for (int i = 0; i < 256; i++) bgra[i] = i % 16 < 8 ? 0xFFFF0000u : 0xFF0000FFu;
  ASSERT_TRUE(KImageFile::save(file("shot.jpg").c_str(), K_IMAGE_JPG,
                               reinterpret_cast<const uint8_t *>(bgra.data()), K_IMAGE_BGRA, 16, 16,
                               64, true));
  auto bytes = readFile(file("shot.jpg"));
  KImageFile image;
  ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), K_IMAGE_JPG));
  EXPECT_EQ(image.getBpp(), 24);
  KImagePixel red = image.getPixel(3, 8, true), blue = image.getPixel(12, 8, true);
  EXPECT_GT(red.r, 200);
  EXPECT_LT(red.b, 60);
  EXPECT_GT(blue.b, 200);
  EXPECT_LT(blue.r, 60);
}

TEST_F(Codec, RgbaTopDownPixelsAndResizing) {
  // 4 x 4 red-lowest pixels, rows from the top: left half red, right half blue.
  std::vector<uint32_t> rgba(16);
  for (int i = 0; i < 16; i++) rgba[i] = i % 4 < 2 ? 0xFF0000FFu : 0xFFFF0000u;
  std::string png = file("small.png");
  ASSERT_TRUE(KImageFile::save(png.c_str(), K_IMAGE_PNG,
                               reinterpret_cast<const uint8_t *>(rgba.data()), K_IMAGE_RGBA, 4, 4,
                               16, false, 2, 2));
  auto bytes = readFile(png);
  KImageFile image;
  ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), K_IMAGE_PNG));
  EXPECT_EQ(image.getWidth(), 2);
  EXPECT_EQ(image.getHeight(), 2);
  EXPECT_EQ(image.getPixel(0, 0, true).r, 255);
  EXPECT_EQ(image.getPixel(0, 0, true).b, 0);
  EXPECT_EQ(image.getPixel(1, 1, true).b, 255);
  EXPECT_EQ(image.getPixel(1, 1, true).r, 0);
}

TEST_F(Codec, BadSaveArgumentsWriteNothing) {
  uint32_t pixel = 0xFFFFFFFF;
  const uint8_t *p = reinterpret_cast<const uint8_t *>(&pixel);
  EXPECT_FALSE(KImageFile::save(nullptr, K_IMAGE_PNG, p, K_IMAGE_RGBA, 1, 1, 4, false));
  EXPECT_FALSE(
      KImageFile::save(file("a.png").c_str(), K_IMAGE_PNG, nullptr, K_IMAGE_RGBA, 1, 1, 4, false));
  EXPECT_FALSE(
      KImageFile::save(file("b.png").c_str(), K_IMAGE_PNG, p, K_IMAGE_RGBA, 0, 1, 4, false));
  EXPECT_FALSE(
      KImageFile::save(file("c.png").c_str(), K_IMAGE_PNG, p, K_IMAGE_RGBA, 1, 1, 3, false));
  EXPECT_FALSE(
      KImageFile::save(file("d.png").c_str(), (KImageFormat)4, p, K_IMAGE_RGBA, 1, 1, 4, false));
  EXPECT_FALSE(KImageFile::save((std::string(dir) + "/no/such/folder.png").c_str(), K_IMAGE_PNG, p,
                                K_IMAGE_RGBA, 1, 1, 4, false));
  for (const char *name : {"a.png", "b.png", "c.png", "d.png"})
    EXPECT_TRUE(readFile(file(name)).empty());
}

} // namespace
