// OpenGL pictures under Xvfb: texture sizes, colour key, video memory, bad files, arrays, grabs.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "KGraphicGL.h"
#include "KImageFile.h"
#include "KQRX.h"
#include "host_testing.h"

namespace {

namespace fs = std::filesystem;

struct Recorded {
  std::string title, text;
};
std::vector<Recorded> boxes;
void recordBox(void *, const char *title, const char *text) { boxes.push_back({title, text}); }

class PictureGL : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    dir = fs::temp_directory_path() / ("zy_picture_" + std::to_string(getpid()));
    fs::create_directories(dir);
    window = KQRX::createKWindow(K_OPENGL, false);
    ASSERT_TRUE(window->createGameWindow(480, 480, 32, true, "Pictures"));
    window->setClearColor(0, 0, 0, 1);
    window->setWorldView(0, 0, 0, 1, true);
  }
  void TearDown() override {
    delete window;
    fs::remove_all(dir);
    hostTestReset();
  }
  // An opaque picture file of the given size: red = x, green = y, blue = 7.
  std::string writePicture(const char *name, long w, long h, KImageFormat format,
                           uint32_t keyed = 0) {
    std::vector<uint8_t> rgba((size_t)w * h * 4);
    for (long y = 0; y < h; y++)
      for (long x = 0; x < w; x++) {
        uint8_t *p = &rgba[((size_t)y * w + x) * 4];
        p[0] = (uint8_t)x, p[1] = (uint8_t)y, p[2] = 7, p[3] = 255;
        if (keyed && (x + y) % 2)
          p[0] = keyed & 0xFF, p[1] = keyed >> 8 & 0xFF, p[2] = keyed >> 16 & 0xFF;
      }
    std::string file = (dir / name).string();
    EXPECT_TRUE(
        KImageFile::save(file.c_str(), format, rgba.data(), K_IMAGE_RGBA, w, h, w * 4, false));
    return file;
  }
  std::string writeBytes(const char *name, const std::string &bytes) {
    std::string file = (dir / name).string();
    FILE *f = fopen(file.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return file;
  }
  // Screen pixel (x, y from the top) of the back buffer.
  std::vector<uint8_t> pixel(int x, int y) {
    std::vector<uint8_t> p(4);
    glReadPixels(x, 480 - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return {p[0], p[1], p[2]};
  }
  fs::path dir;
  KWindow *window = nullptr;
};

TEST_F(PictureGL, TexturesAreSquarePowersOfTwoOfAtLeastFour) {
  const struct {
    long w, h, side;
  } cases[] = {{100, 60, 128}, {64, 64, 64}, {3, 2, 4}, {300, 20, 512}, {1, 1, 4}};
  for (const auto &c : cases) {
    EXPECT_EQ(KGraphicGL::textureSide(c.w, c.h), c.side);
    KGraphicGL picture;
    ASSERT_TRUE(
        picture.loadPicture(writePicture("size.png", c.w, c.h, K_IMAGE_PNG).c_str(), true, true));
    EXPECT_EQ(picture._ftextureWIDTH, (float)c.side);
    EXPECT_EQ(picture._ftextureHEIGHT, (float)c.side);
    EXPECT_EQ(picture.getWidth(), (float)c.w);
    EXPECT_EQ(picture.getHeight(), (float)c.h);
  }
}

TEST_F(PictureGL, EveryFormatLoadsByItsExtensionWhateverTheCase) {
  std::string tga = writePicture("pic.tga", 8, 8, K_IMAGE_TGA);
  std::string jpg = writePicture("pic.jpg", 8, 8, K_IMAGE_JPG);
  std::string bmp = writePicture("pic.bmp", 8, 8, K_IMAGE_BMP);
  std::string png = writePicture("Ship.PNG", 8, 8, K_IMAGE_PNG);
  for (const std::string &file : {tga, jpg, bmp, png}) {
    KGraphicGL picture;
    EXPECT_TRUE(picture.loadPicture(file.c_str(), true, false)) << file;
    EXPECT_EQ(picture.getWidth(), 8.0f);
  }
  // The name is opened as given: only the decoder choice is case-blind.
  KGraphicGL picture;
  EXPECT_FALSE(picture.loadPicture((dir / "ship.png").string().c_str(), true, false));
}

TEST_F(PictureGL, BadFilesFailAndLeaveThePictureEmpty) {
  std::string good = writePicture("good.png", 16, 16, K_IMAGE_PNG);
  std::string bytes;
  {
    FILE *f = fopen(good.c_str(), "rb");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
  }
  std::string corrupt = bytes;
  for (size_t i = 40; i < corrupt.size(); i++) corrupt[i] = (char)0x5A;
  const std::string files[] = {
      (dir / "missing.png").string(),
      writeBytes("empty.png", ""),
      writeBytes("truncated.png", bytes.substr(0, bytes.size() / 3)),
      writeBytes("corrupt.png", corrupt),
      writeBytes("wrongkind.tga", bytes), // a PNG named as TGA
      writeBytes("picture.gif", bytes),   // not one of the four extensions
  };
  KGraphicGL picture;
  for (const std::string &file : files) {
    ASSERT_TRUE(picture.loadPicture(good.c_str(), true, false));
    EXPECT_FALSE(picture.loadPicture(file.c_str(), true, false)) << file;
    EXPECT_EQ(picture.getWidth(), 0.0f) << file;
    EXPECT_EQ(picture.getHeight(), 0.0f) << file;
  }
  EXPECT_FALSE(picture.loadPicture(nullptr, true, false));
}

TEST_F(PictureGL, ColourKeyMakesExactlyTheKeyTransparent) {
  std::string file = writePicture("keyed.bmp", 16, 16, K_IMAGE_BMP, 0xFF00FF);
  KGraphicGL picture;
  picture.setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(picture.loadPicture(file.c_str(), true, true));
  window->setClearColor(0, 1, 0, 1);
  window->setWorldView(0, 0, 0, 1, true);
  picture.blitAlphaRect(0, 0, 16, 16, 10, 10, false, false);
  EXPECT_EQ(pixel(10, 10), (std::vector<uint8_t>{0, 0, 7}));   // (0, 0): the picture, opaque
  EXPECT_EQ(pixel(11, 10), (std::vector<uint8_t>{0, 255, 0})); // (1, 0): magenta, keyed out
  EXPECT_EQ(pixel(13, 11), (std::vector<uint8_t>{3, 1, 7}));   // (3, 1): kept
}

TEST_F(PictureGL, VideoMemoryCountsTexturesAndReturnsAfterFree) {
  int32_t before = KGraphicGL::videoMemory;
  {
    KGraphicGL picture;
    ASSERT_TRUE(
        picture.loadPicture(writePicture("vm.png", 100, 60, K_IMAGE_PNG).c_str(), true, true));
    EXPECT_EQ(KGraphicGL::videoMemory - before, 4 * 128 * 128); // 32-bit screen
    uint32_t pixels[16 * 16] = {};
    ASSERT_TRUE(picture.makePictureFromArray(pixels, 16, 16, false)); // replaces the texture
    EXPECT_EQ(KGraphicGL::videoMemory - before, 4 * 16 * 16);
    picture.freePicture();
    EXPECT_EQ(KGraphicGL::videoMemory, before);
    EXPECT_EQ(picture.getWidth(), 0.0f);
    picture.freePicture(); // an empty picture is left alone
    EXPECT_EQ(KGraphicGL::videoMemory, before);
    ASSERT_TRUE(picture.grabBackBuffer(nullptr));
    EXPECT_EQ(KGraphicGL::videoMemory - before, 4 * 512 * 512);
  }
  EXPECT_EQ(KGraphicGL::videoMemory, before);
}

TEST_F(PictureGL, ArraysRejectBadInputAndFollowTheCallersPixels) {
  KGraphicGL picture;
  uint32_t pixels[16 * 16];
  EXPECT_FALSE(picture.makePictureFromArray(nullptr, 16, 16, true));
  EXPECT_FALSE(picture.makePictureFromArray(pixels, 0, 16, true));
  EXPECT_FALSE(picture.makePictureFromArray(pixels, 16, -3, true));
  EXPECT_EQ(picture.getWidth(), 0.0f);

  for (uint32_t &p : pixels) p = 0xFF0000FFu; // opaque red
  ASSERT_TRUE(picture.makePictureFromArray(pixels, 16, 16, true));
  EXPECT_EQ(picture._ftextureWIDTH, 16.0f);
  picture.blitRect(0, 0, 16, 16, 0, 0, false, false);
  EXPECT_EQ(pixel(5, 5), (std::vector<uint8_t>{255, 0, 0}));
  for (uint32_t &p : pixels) p = 0xFFFF0000u; // now blue
  picture.pollArray();
  picture.blitRect(0, 0, 16, 16, 0, 0, false, false);
  EXPECT_EQ(pixel(5, 5), (std::vector<uint8_t>{0, 0, 255}));
}

TEST_F(PictureGL, ArrayColourKeyClearsTheKeyedPixels) {
  KGraphicGL picture;
  uint32_t pixels[4] = {0xFFFF00FFu, 0xFF00FF00u, 0x80FF00FFu, 0xFFFE00FFu};
  picture.setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(picture.makePictureFromArray(pixels, 2, 2, true));
  EXPECT_EQ(pixels[0], 0u);
  EXPECT_EQ(pixels[1], 0xFF00FF00u);
  EXPECT_EQ(pixels[2], 0u); // whatever its alpha
  EXPECT_EQ(pixels[3], 0xFFFE00FFu);
}

// ---- grabs --------------------------------------------------------------------------------------

void swapRedBlue(long, long, long *r, long *, long *b) { std::swap(*r, *b); }

long calls;
long lastX, lastY;
void countCalls(long x, long y, long *, long *, long *) {
  calls++;
  lastX = x;
  lastY = y;
}

TEST_F(PictureGL, GrabCopiesTheBackBufferIntoAPowerOfTwoTexture) {
  KGraphicGL painter;
  painter.drawRect(0, 0, 480, 240, 1, 0, 0, 1); // top half red
  painter.drawRect(0, 240, 480, 480, 0, 0, 1, 1);
  KGraphicGL grab;
  calls = 0;
  ASSERT_TRUE(grab.grabBackBuffer(countCalls));
  EXPECT_EQ(calls, 480L * 480L);
  EXPECT_EQ(lastX, 479);
  EXPECT_EQ(lastY, 479); // rows from the bottom: the last call is the top row
  EXPECT_EQ(grab.getWidth(), 480.0f);
  EXPECT_EQ(grab._ftextureWIDTH, 512.0f);
  window->setWorldView(0, 0, 0, 1, true);
  grab.blitRect(0, 0, 480, 480, 0, 0, false, false);
  EXPECT_EQ(pixel(10, 10), (std::vector<uint8_t>{255, 0, 0}));
  EXPECT_EQ(pixel(10, 470), (std::vector<uint8_t>{0, 0, 255}));

  KGraphicGL swapped;
  ASSERT_TRUE(swapped.grabBackBuffer(swapRedBlue));
  swapped.blitRect(0, 0, 480, 480, 0, 0, false, false);
  EXPECT_EQ(pixel(10, 10), (std::vector<uint8_t>{0, 0, 255}));
}

TEST_F(PictureGL, GrabWithBlackKeyMakesBlackTransparent) {
  KGraphicGL painter;
  painter.drawRect(0, 0, 100, 100, 1, 1, 1, 1);
  KGraphicGL grab;
  grab.setColorKey(true, 0, 0, 0);
  ASSERT_TRUE(grab.grabBackBuffer(nullptr));
  window->setClearColor(0, 1, 0, 1);
  window->setWorldView(0, 0, 0, 1, true);
  grab.blitAlphaRect(0, 0, 480, 480, 0, 0, false, false);
  EXPECT_EQ(pixel(50, 50), (std::vector<uint8_t>{255, 255, 255}));
  EXPECT_EQ(pixel(200, 200), (std::vector<uint8_t>{0, 255, 0}));
}

TEST_F(PictureGL, TexturingComesBackAfterTheGammaOverlayAndPrimitives) {
  uint32_t pixels[16 * 16];
  for (uint32_t &p : pixels) p = 0xFF00FF00u; // opaque green
  KGraphicGL picture;
  ASSERT_TRUE(picture.makePictureFromArray(pixels, 16, 16, true));
  picture.blitRect(0, 0, 16, 16, 0, 0, false, false); // bound and cached
  window->setGamma(0.5f);
  window->flipBackBuffer(false, true); // the overlay draws untextured
  window->setGamma(1);
  window->setWorldView(0, 0, 0, 1, true);
  picture.blitRect(0, 0, 16, 16, 0, 0, false, false);
  EXPECT_EQ(pixel(5, 5), (std::vector<uint8_t>{0, 255, 0}));
  picture.drawLine(100, 100, 200, 100, 1, 1, 1, 1);
  picture.blitRect(0, 0, 16, 16, 20, 0, false, false);
  EXPECT_EQ(pixel(25, 5), (std::vector<uint8_t>{0, 255, 0}));
}

TEST(PictureGLWithoutWindow, ConstructionBeforeTheWindowIsToldInAMessageBox) {
  hostTestReset();
  boxes.clear();
  hostTestSetMessageBoxHandler(recordBox, nullptr);
  short width = KGraphicGL::screenWidth;
  KGraphicGL::screenWidth = 0;
  {
    KGraphicGL picture;
    EXPECT_EQ(picture.getWidth(), 0.0f);
  }
  KGraphicGL::screenWidth = width;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Screen Dimensions not specified, you will not see anything");
  EXPECT_EQ(boxes[0].text, "KGraphicGL::SetScreenSize Not Called!");
  hostTestReset();
}

} // namespace
