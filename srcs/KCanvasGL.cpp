// The OpenGL window's picture: an offscreen framebuffer of the game's size, shown scaled.
#include "KCanvasGL.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "host_scale.h"

KCanvasGL *KCanvasGL::_current = nullptr;

namespace {

// Framebuffer objects: core since OpenGL 3.0, and the ARB extension before it.
struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
} gl;

template <typename Call> bool load(Call *call, const char *name) {
  *call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
  return *call != nullptr;
}

// The window system hands out an address for any name: the context must say it has them.
bool contextHasFramebuffers() {
  const char *version = (const char *)glGetString(GL_VERSION);
  const char *extensions = (const char *)glGetString(GL_EXTENSIONS);
  bool offered = (version && atoi(version) >= 3) ||
                 (extensions && strstr(extensions, "GL_ARB_framebuffer_object"));
  return offered && load(&gl.genFramebuffers, "glGenFramebuffers") &&
         load(&gl.deleteFramebuffers, "glDeleteFramebuffers") &&
         load(&gl.bindFramebuffer, "glBindFramebuffer") &&
         load(&gl.genRenderbuffers, "glGenRenderbuffers") &&
         load(&gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
         load(&gl.bindRenderbuffer, "glBindRenderbuffer") &&
         load(&gl.renderbufferStorage, "glRenderbufferStorage") &&
         load(&gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         load(&gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
         load(&gl.blitFramebuffer, "glBlitFramebuffer");
}

// A renderbuffer of this format attached to the bound framebuffer.
unsigned int attach(GLenum attachment, GLenum format, int width, int height) {
  GLuint buffer = 0;
  gl.genRenderbuffers(1, &buffer);
  gl.bindRenderbuffer(GL_RENDERBUFFER, buffer);
  gl.renderbufferStorage(GL_RENDERBUFFER, format, width, height);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, buffer);
  return buffer;
}

} // namespace

KCanvasGL::~KCanvasGL() {
  if (_current == this) _current = nullptr;
}

bool KCanvasGL::create(int width, int height, bool depth) {
  destroy();
  if (width <= 0 || height <= 0 || !contextHasFramebuffers()) return false;
  _width = width;
  _height = height;
  GLuint framebuffers[2] = {0, 0};
  gl.genFramebuffers(2, framebuffers);
  _drawn = framebuffers[0];
  _shown = framebuffers[1];
  bool complete = true;
  for (int i = 0; i < 2; i++) {
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
    // No alpha channel, as the window has none: destination alpha reads as 1.
    _colour[i] = attach(GL_COLOR_ATTACHMENT0, GL_RGB8, width, height);
    if (i == 0 && depth) _depth = attach(GL_DEPTH_ATTACHMENT, GL_DEPTH_COMPONENT16, width, height);
    complete = complete && gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  if (!complete) {
    destroy();
    return false;
  }
  // A new picture starts black, like a new window.
  gl.bindFramebuffer(GL_FRAMEBUFFER, _shown);
  glClear(GL_COLOR_BUFFER_BIT);
  gl.bindFramebuffer(GL_FRAMEBUFFER, _drawn);
  _current = this;
  return true;
}

void KCanvasGL::destroy() {
  if (_current == this) _current = nullptr;
  if (!_drawn) return;
  dropStage();
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  GLuint framebuffers[2] = {_drawn, _shown};
  gl.deleteFramebuffers(2, framebuffers);
  GLuint renderbuffers[3] = {_colour[0], _colour[1], _depth};
  gl.deleteRenderbuffers(_depth ? 3 : 2, renderbuffers);
  _drawn = _shown = _colour[0] = _colour[1] = _depth = 0;
}

void KCanvasGL::present(int drawableW, int drawableH) {
  if (!_drawn) return;
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, _drawn);
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, _shown);
  gl.blitFramebuffer(0, 0, _width, _height, 0, 0, _width, _height, GL_COLOR_BUFFER_BIT, GL_NEAREST);

  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, _shown);
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT); // the bars
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  HostRect to = hostPictureRect(drawableW, drawableH, _width, _height, hostScaling());
  bool whole = hostWholeMultiple(to, _width, _height);
  int from = whole ? 1 : enlarge(hostSharpMultiple(to, _width, _height));
  int bottom = drawableH - to.y - to.h; // the window's rows run upward here
  gl.blitFramebuffer(0, 0, _width * from, _height * from, to.x, bottom, to.x + to.w, bottom + to.h,
                     GL_COLOR_BUFFER_BIT, whole ? GL_NEAREST : GL_LINEAR);
  gl.bindFramebuffer(GL_FRAMEBUFFER, _drawn);
}

int KCanvasGL::enlarge(int multiple) {
  if (multiple > 1 && _stageMultiple != multiple) {
    dropStage();
    GLuint framebuffer = 0;
    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    _stage = framebuffer;
    _stageColour = attach(GL_COLOR_ATTACHMENT0, GL_RGB8, _width * multiple, _height * multiple);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
      _stageMultiple = multiple;
    else
      dropStage();
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, _shown);
  }
  if (multiple <= 1 || !_stage) return 1; // the frame shown is read as it is
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, _stage);
  gl.blitFramebuffer(0, 0, _width, _height, 0, 0, _width * multiple, _height * multiple,
                     GL_COLOR_BUFFER_BIT, GL_NEAREST);
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, _stage);
  return multiple;
}

void KCanvasGL::dropStage() {
  if (_stage) gl.deleteFramebuffers(1, &_stage);
  if (_stageColour) gl.deleteRenderbuffers(1, &_stageColour);
  _stage = _stageColour = 0;
  _stageMultiple = 0;
}

void KCanvasGL::selectRead(bool front) {
  if (_current)
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, front ? _current->_shown : _current->_drawn);
  else
    glReadBuffer(front ? GL_FRONT : GL_BACK);
}
