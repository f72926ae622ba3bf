#ifndef ZY_TESTS_RECORDING_GRAPHIC_H
#define ZY_TESTS_RECORDING_GRAPHIC_H

// A KGraphic that draws nothing and records every drawing call with its arguments, for tests
// that check what game code draws, where, and in which blend state.

#include <string>
#include <vector>

#include "KGraphic.h"

struct RecordedCall {
  std::string op;          // the operation's name, e.g. "blitAlphaRectFx"
  std::vector<float> args; // its numeric arguments in order (flips and flags as 0/1)
  long alphaMode;          // the picture's alpha mode when the call was made
};

class RecordingGraphic : public KGraphic {
public:
  std::vector<RecordedCall> calls;
  long alphaMode = 1; // K_ALPHA_NORMAL, the mode of a new picture
  bool textureQuality = false;

  // The calls named `op`, in order.
  std::vector<RecordedCall> named(const std::string &op) const {
    std::vector<RecordedCall> out;
    for (const RecordedCall &c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }
  void clear() { calls.clear(); }

  bool loadPicture(const char *, bool, bool) override { return true; }
  void freePicture() override {}
  float getWidth() override { return 0; }
  float getHeight() override { return 0; }
  void setTextureQuality(bool quality) override {
    textureQuality = quality;
    add("setTextureQuality", {(float)quality});
  }
  void drawRect(float x1, float y1, float x2, float y2, float r, float g, float b,
                float blend) override {
    add("drawRect", {x1, y1, x2, y2, r, g, b, blend});
  }
  void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                float blend) override {
    add("drawLine", {x1, y1, x2, y2, r, g, b, blend});
  }
  void plotPixel(float x1, float y1, float r, float g, float b, float blend) override {
    add("plotPixel", {x1, y1, r, g, b, blend});
  }
  void blitRect(float x1, float y1, float x2, float y2, short dx, short dy, bool fx,
                bool fy) override {
    add("blitRect", {x1, y1, x2, y2, (float)dx, (float)dy, (float)fx, (float)fy});
  }
  void blitRectFx(float x1, float y1, float x2, float y2, short dx, short dy, float angle,
                  float zoom, bool fx, bool fy) override {
    add("blitRectFx", {x1, y1, x2, y2, (float)dx, (float)dy, angle, zoom, (float)fx, (float)fy});
  }
  void blitAlphaRect(float x1, float y1, float x2, float y2, short dx, short dy, bool fx,
                     bool fy) override {
    add("blitAlphaRect", {x1, y1, x2, y2, (float)dx, (float)dy, (float)fx, (float)fy});
  }
  void blitAlphaRectFx(float x1, float y1, float x2, float y2, short dx, short dy, float angle,
                       float zoom, float blend, bool fx, bool fy) override {
    add("blitAlphaRectFx",
        {x1, y1, x2, y2, (float)dx, (float)dy, angle, zoom, blend, (float)fx, (float)fy});
  }
  void blitTiledRect(short dx, short dy, short w, short h, float tile, float angle) override {
    add("blitTiledRect", {(float)dx, (float)dy, (float)w, (float)h, tile, angle});
  }
  void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                         float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                         float dx3, float dy3, float dx4, float dy4) override {
    add("blitArbitraryQuad",
        {sx1, sy1, sx2, sy2, sx3, sy3, sx4, sy4, dx1, dy1, dx2, dy2, dx3, dy3, dx4, dy4});
  }
  void setAlphaMode(long mode) override {
    if (mode >= 0 && mode <= 3) alphaMode = mode;
    add("setAlphaMode", {(float)mode});
  }
  void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                        float dx2, float dy2, float blend, float angle) override {
    add("stretchAlphaRect", {sx1, sy1, sx2, sy2, dx1, dy1, dx2, dy2, blend, angle});
  }
  bool grabBackBuffer(ptkGrabCallBack) override {
    add("grabBackBuffer", {});
    return true;
  }
  bool grabFrontBuffer() override { return true; }
  void setColorKey(bool, unsigned char, unsigned char, unsigned char) override {}
  void allowTextureWrap(bool wrap) override { add("allowTextureWrap", {(float)wrap}); }
  bool saveBackBuffer(const char *, long, long, long) override { return true; }
  void setBlitColor(float r, float g, float b, float a) override {
    add("setBlitColor", {r, g, b, a});
  }
  bool makePictureFromArray(uint32_t *, long, long, bool) override { return true; }
  void pollArray() override {}
  void selectTexture() override {}

private:
  void add(const char *op, std::vector<float> args) {
    calls.push_back({op, std::move(args), alphaMode});
  }
};

#endif
