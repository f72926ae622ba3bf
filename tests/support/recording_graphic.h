// A KGraphic that draws nothing and records every call, for tests of drawing code.
//
// Each call becomes one GraphicCall: the operation's name and its arguments as floats, in the
// order of the signature (bools as 0/1, the pixel pointer and the grab callback left out).
// Example:
//   RecordingGraphic g;
//   doSomething(&g);
//   auto blits = g.callsNamed("blitAlphaRectFx");
//   EXPECT_EQ(blits[0].args[4], 120);  // destX
#ifndef RECORDING_GRAPHIC_H
#define RECORDING_GRAPHIC_H

#include <initializer_list>
#include <string>
#include <vector>

#include "KGraphic.h"

struct GraphicCall {
  std::string name;
  std::vector<float> args;
};

class RecordingGraphic : public KGraphic {
public:
  std::vector<GraphicCall> calls;
  float width = 512, height = 512; // what getWidth/getHeight answer

  void clear() { calls.clear(); }

  std::vector<GraphicCall> callsNamed(const std::string &name) const {
    std::vector<GraphicCall> found;
    for (const GraphicCall &c : calls)
      if (c.name == name) found.push_back(c);
    return found;
  }

  size_t count(const std::string &name) const { return callsNamed(name).size(); }

  bool loadPicture(const char *, bool hiDef, bool hasalpha) override {
    return record("loadPicture", {b(hiDef), b(hasalpha)}), true;
  }
  void freePicture() override { record("freePicture", {}); }
  float getWidth() override { return width; }
  float getHeight() override { return height; }
  void setTextureQuality(bool quality) override { record("setTextureQuality", {b(quality)}); }
  void drawRect(float x1, float y1, float x2, float y2, float r, float g, float bl,
                float blend) override {
    record("drawRect", {x1, y1, x2, y2, r, g, bl, blend});
  }
  void drawLine(float x1, float y1, float x2, float y2, float r, float g, float bl,
                float blend) override {
    record("drawLine", {x1, y1, x2, y2, r, g, bl, blend});
  }
  void plotPixel(float x1, float y1, float r, float g, float bl, float blend) override {
    record("plotPixel", {x1, y1, r, g, bl, blend});
  }
  void blitRect(float x1, float y1, float x2, float y2, short destX, short destY, bool flipx,
                bool flipy) override {
    record("blitRect", {x1, y1, x2, y2, float(destX), float(destY), b(flipx), b(flipy)});
  }
  void blitRectFx(float x1, float y1, float x2, float y2, short destX, short destY, float angle,
                  float zoom, bool flipx, bool flipy) override {
    record("blitRectFx",
           {x1, y1, x2, y2, float(destX), float(destY), angle, zoom, b(flipx), b(flipy)});
  }
  void blitAlphaRect(float x1, float y1, float x2, float y2, short destX, short destY, bool flipx,
                     bool flipy) override {
    record("blitAlphaRect", {x1, y1, x2, y2, float(destX), float(destY), b(flipx), b(flipy)});
  }
  void blitAlphaRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                       float angle, float zoom, float blend, bool flipx, bool flipy) override {
    record("blitAlphaRectFx",
           {x1, y1, x2, y2, float(destX), float(destY), angle, zoom, blend, b(flipx), b(flipy)});
  }
  void blitTiledRect(short destX, short destY, short w, short h, float tileFactor,
                     float angle) override {
    record("blitTiledRect", {float(destX), float(destY), float(w), float(h), tileFactor, angle});
  }
  void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                         float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                         float dx3, float dy3, float dx4, float dy4) override {
    record("blitArbitraryQuad",
           {sx1, sy1, sx2, sy2, sx3, sy3, sx4, sy4, dx1, dy1, dx2, dy2, dx3, dy3, dx4, dy4});
  }
  void setAlphaMode(long alphamode) override { record("setAlphaMode", {float(alphamode)}); }
  void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                        float dy2, float blend, float angle) override {
    record("stretchAlphaRect", {sx1, sy1, sx2, sy2, dx1, dy1, dx2, dy2, blend, angle});
  }
  bool grabBackBuffer(ptkGrabCallBack) override { return record("grabBackBuffer", {}), true; }
  bool grabFrontBuffer() override { return record("grabFrontBuffer", {}), true; }
  void setColorKey(bool active, unsigned char r, unsigned char g, unsigned char bl) override {
    record("setColorKey", {b(active), float(r), float(g), float(bl)});
  }
  void allowTextureWrap(bool wrap) override { record("allowTextureWrap", {b(wrap)}); }
  bool saveBackBuffer(const char *, long imageFormat, long resizeW, long resizeH) override {
    return record("saveBackBuffer", {float(imageFormat), float(resizeW), float(resizeH)}), true;
  }
  void setBlitColor(float r, float g, float bl, float a) override {
    record("setBlitColor", {r, g, bl, a});
  }
  bool makePictureFromArray(uint32_t *, long w, long h, bool hiDef) override {
    return record("makePictureFromArray", {float(w), float(h), b(hiDef)}), true;
  }
  void pollArray() override { record("pollArray", {}); }
  void selectTexture() override { record("selectTexture", {}); }

private:
  static float b(bool v) { return v ? 1.0f : 0.0f; }
  void record(const char *name, std::initializer_list<float> args) {
    calls.push_back(GraphicCall{name, std::vector<float>(args)});
  }
};

#endif
