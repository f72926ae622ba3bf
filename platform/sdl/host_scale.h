#ifndef ZY_HOST_SCALE_H
#define ZY_HOST_SCALE_H

// Scaled windows. The program draws a picture of a fixed size: the drawable size its window
// was asked for. A window opened with SDL_WINDOW_RESIZABLE may take any size (and desktop
// full screen); it shows the picture at the largest whole multiple that fits, centred on
// black, or shrunk to fit, smoothly, when the window is smaller than the picture either way.
// The pointer is reported in picture pixels, so the program never sees the window's size.

struct SDL_Window;
struct HostWindow;

// ---- the arithmetic -------------------------------------------------------------------------

struct HostRect {
  int x, y, w, h;
};

// Where a pictureW x pictureH picture shows in a windowW x windowH area (y downward).
// Empty when either size is not positive.
HostRect hostPictureRect(int windowW, int windowH, int pictureW, int pictureH);
// The picture is shown at a whole multiple of its size (sharp: nearest pixel) rather than
// shrunk (smooth: filtered).
bool hostWholeMultiple(const HostRect &shown, int pictureW, int pictureH);
// A window point in picture pixels, through the rectangle the picture shows in; points on
// the black bars fall outside 0 .. size - 1.
void hostWindowToPicture(const HostRect &shown, int pictureW, int pictureH, int x, int y, int *px, int *py);
// A picture pixel in window points: the centre of the block it shows as.
void hostPictureToWindow(const HostRect &shown, int pictureW, int pictureH, int px, int py, int *x, int *y);
// The whole multiple a scaled window opens at: the largest whose picture fits in three
// quarters of the desktop's height and in its width; at least 1.
int hostOpeningScale(int desktopW, int desktopH, int pictureW, int pictureH);

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

#endif
