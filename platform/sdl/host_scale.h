#ifndef ZY_HOST_SCALE_H
#define ZY_HOST_SCALE_H

// Scaled windows. The program draws a picture of a fixed size: the drawable size its window
// was asked for. A window opened with SDL_WINDOW_RESIZABLE may take any size (and desktop
// full screen); it shows the picture centred on black at the largest size that fits, as the
// scaling says:
//  - sharp (the default): any size; the picture is enlarged with nearest pixels to the first
//    whole multiple at or above that size, then reduced smoothly to it, so pixels stay crisp
//    and all of one width;
//  - integer: the largest whole multiple that fits, with nearest pixels.
// A window smaller than the picture either way shows it shrunk to fit, smoothly, in both.
// The pointer is reported in picture pixels, so the program never sees the window's size.

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;
struct HostWindow;

enum HostScaling {
  HOST_SCALE_SHARP,
  HOST_SCALE_INTEGER,
};

// ---- the arithmetic -------------------------------------------------------------------------

struct HostRect {
  int x, y, w, h;
};

// Where a pictureW x pictureH picture shows in a windowW x windowH area (y downward).
// Empty when either size is not positive.
HostRect hostPictureRect(int windowW, int windowH, int pictureW, int pictureH, HostScaling scaling);
// The whole multiple of the picture that is shown reduced to `shown`: the first at or above
// its size, 1 when it is no larger than the picture. Equal to the shown size: nothing to reduce.
int hostSharpMultiple(const HostRect &shown, int pictureW, int pictureH);
// The picture is shown at a whole multiple of its size (nearest pixel only, no smoothing).
bool hostWholeMultiple(const HostRect &shown, int pictureW, int pictureH);
// A window point in picture pixels, through the rectangle the picture shows in; points on
// the black bars fall outside 0 .. size - 1.
void hostWindowToPicture(const HostRect &shown, int pictureW, int pictureH, int x, int y, int *px,
                         int *py);
// A picture pixel in window points: the middle of the points that map back to it.
void hostPictureToWindow(const HostRect &shown, int pictureW, int pictureH, int px, int py, int *x,
                         int *y);
// The whole multiple a scaled window opens at: the largest whose picture fits in three
// quarters of the desktop's height and in its width; at least 1.
int hostOpeningScale(int desktopW, int desktopH, int pictureW, int pictureH);

// ---- the player's choices -------------------------------------------------------------------

// The scaling every scaled window shows its picture with (sharp until set).
void hostSetScaling(HostScaling scaling);
HostScaling hostScaling();
// "sharp" or "integer"; the name's scaling, false for any other name.
const char *hostScalingName(HostScaling scaling);
bool hostScalingNamed(const char *name, HostScaling *scaling);
// The size scaled windows open at when it fits the desktop (the player's last window); 0 x 0
// chooses a whole multiple from the desktop.
void hostSetOpeningSize(int width, int height);

// ---- host windows ---------------------------------------------------------------------------

// The picture size of a window made by the host (the size it was asked for); false for any
// other window.
bool hostPictureSize(SDL_Window *window, int *w, int *h);
// Desktop full screen on or off (never a display-mode change); leaving it gives a host
// window back the size it had before.
bool hostSetDesktopFullscreen(SDL_Window *window, bool fullscreen);
// The message is a press of F11 or of Alt+Enter (not a key repeat): the keys that toggle full
// screen. Both windows check their key messages with it; the messages go on to the program.
bool hostIsFullscreenToggle(unsigned int message, unsigned int wParam, long lParam);
// What a host window shows now: full screen or not, and its windowed size (the size it goes
// back to when in full screen). False for any other window.
bool hostWindowState(SDL_Window *window, bool *fullscreen, int *windowedW, int *windowedH);

// Draws a pictureW x pictureH texture over the renderer's whole output as the scaling says,
// on black (the caller presents). *stage holds the enlarged picture between frames: made and
// remade here, owned by the caller, who destroys it before the renderer.
void hostRenderScaled(SDL_Renderer *renderer, SDL_Texture *picture, int pictureW, int pictureH,
                      SDL_Texture **stage);

#endif
