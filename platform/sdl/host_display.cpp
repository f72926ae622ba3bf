// The display the game shows on. With no video driver asked for by name, SDL falls back on
// drivers that show nothing (offscreen, dummy): over ssh or on a console the game would run on
// where no one can see it; the display found is kept open for the whole run. And when the X server
// goes away under the game, Xlib ends the process from its I/O error handler: the handler set here
// saves what the game asks for first.
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

#include "host_internal.h"

namespace {

// SDL's video drivers that show nothing on any machine: headless runs ask for them by name.
const char *const unseenDrivers[] = {
    "offscreen", // renders into memory
    "dummy",     // nothing at all
    "evdev",     // the dummy driver with evdev input
};

bool unseen(const char *driver) {
  for (const char *name : unseenDrivers)
    if (strcmp(driver, name) == 0) return true;
  return false;
}

void (*saveBeforeDisplayLoss)();
pid_t gameProcess; // SDL shows X11 boxes from a child process, which must not save

typedef int (*XIOErrorHandler)(void *display);

int displayLost(void *) {
  if (getpid() == gameProcess && saveBeforeDisplayLoss) {
    void (*save)() = saveBeforeDisplayLoss;
    saveBeforeDisplayLoss = nullptr; // once, should saving meet the display again
    save();
  }
  fputs("zyphora: the connection to the display was lost\n", stderr);
  fflush(nullptr);
  _exit(1); // as Xlib would, without running the program's destructors under its live threads
}

} // namespace

bool hostOpenRealDisplay(char *reason, size_t size) {
  const char *asked = SDL_getenv("SDL_VIDEODRIVER");
  if (asked && asked[0]) return true; // asked for by name (tests, benchmarks): taken as it is
  std::string real;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); i++)
    if (!unseen(SDL_GetVideoDriver(i)))
      real += (real.empty() ? "" : ",") + std::string(SDL_GetVideoDriver(i));
  if (real.empty()) {
    snprintf(reason, size, "SDL has no driver for a display");
    return false;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, real.c_str()); // the windows opened later use the same ones
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    snprintf(reason, size, "%s", SDL_GetError());
    return false;
  }
  // The connection stays open for the windows opened later: closed and opened again, it could
  // meet an X server resetting itself because its last client had just left, and be refused.
  return true;
}

void hostOnDisplayLost(void (*save)()) {
  saveBeforeDisplayLoss = save;
  gameProcess = getpid();
}

void hostWatchDisplayLoss() {
  if (!saveBeforeDisplayLoss) return;
  // SDL loads Xlib itself when it runs on X11; otherwise there is no X server to lose.
  void *xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!xlib) return;
  typedef XIOErrorHandler (*SetHandler)(XIOErrorHandler);
  if (SetHandler set = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler")))
    set(displayLost);
  dlclose(xlib); // SDL's own reference keeps it loaded
}
