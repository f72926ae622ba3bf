#ifndef KCANVASGL_H
#define KCANVASGL_H

// The OpenGL window's picture. The game draws into, and reads back from, an offscreen
// framebuffer of the size it asked its window for; each flip copies the frame to a second
// one (the frame shown, which front-buffer reads see) and draws that into the window scaled
// as host_scale.h says, centred on black (through a third, the stage, where sharp scaling
// enlarges the frame to a whole multiple before reducing it smoothly). So the window
// may take any size while every reader of the screen still sees the game's own size.

class KCanvasGL {
public:
  KCanvasGL() = default;
  KCanvasGL(const KCanvasGL &) = delete;
  KCanvasGL &operator=(const KCanvasGL &) = delete;
  ~KCanvasGL();

  // Makes the framebuffers in the current context (a 16-bit depth buffer with the drawn one
  // when asked) and binds the drawn one. false when the context offers no framebuffer
  // objects: the window is then drawn into directly.
  bool create(int width, int height, bool depth);
  // Deletes the framebuffers; the canvas's context must be current.
  void destroy();
  bool active() const { return _drawn != 0; }
  // Copies the frame to the shown one and draws it into the window's back buffer of
  // drawableW x drawableH pixels; the drawn framebuffer is bound again afterwards.
  void present(int drawableW, int drawableH);

  // Points glReadPixels at the frame being drawn (front false) or at the frame shown last;
  // without a canvas, at the window's back or front buffer.
  static void selectRead(bool front);

private:
  // Enlarges the frame shown to multiple x its size in the stage with nearest pixels and binds
  // the stage for reading; returns the multiple read from: 1 when the frame shown is read as it
  // is (a multiple of 1, or no stage could be made). The window is bound for drawing.
  int enlarge(int multiple);
  void dropStage();

  int _width = 0, _height = 0;
  unsigned int _drawn = 0, _shown = 0;          // framebuffers
  unsigned int _colour[2] = {0, 0}, _depth = 0; // their renderbuffers
  unsigned int _stage = 0, _stageColour = 0;    // the enlarged frame, and its renderbuffer
  int _stageMultiple = 0;
  static KCanvasGL *_current; // the canvas the readers read
};

#endif
