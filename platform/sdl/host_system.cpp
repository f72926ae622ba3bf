// Folders, message boxes and the system pointer's display counter.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "host_internal.h"
#include "host_testing.h"

namespace {

int cursorCounter; // ShowCursor's display counter: the pointer shows while it is 0 or more

// A display that can show an SDL message box: not the dummy or offscreen drivers, which
// have none (and would let SDL open an X11 box on whatever display is around).
bool displayCanShowBox() {
  const char *driver =
      SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : SDL_getenv("SDL_VIDEODRIVER");
  return !driver || (strcmp(driver, "dummy") != 0 && strcmp(driver, "offscreen") != 0);
}

} // namespace

bool hostMakeFolders(char *path) {
  for (char *p = path + 1; *p; p++)
    if (*p == '/') {
      *p = 0;
      bool ok = mkdir(path, 0755) == 0 || errno == EEXIST;
      *p = '/';
      if (!ok) return false;
    }
  struct stat st;
  return (mkdir(path, 0755) == 0 || errno == EEXIST) && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool hostExecutablePath(char *path, size_t size) {
  if (size == 0) return false;
  char full[4096];
  ssize_t n = readlink("/proc/self/exe", full, sizeof full - 1);
  if (n <= 0) {
    path[0] = 0;
    return false;
  }
  full[n] = 0;
  snprintf(path, size, "%s", full);
  return true;
}

namespace {

// $XDG_variable/zyphora, else ~/fallback/zyphora, created if missing.
bool xdgFolder(const char *variable, const char *fallback, char *path, size_t size) {
  const char *base = getenv(variable), *home = getenv("HOME");
  char folder[4096];
  int n;
  if (base && base[0] == '/')
    n = snprintf(folder, sizeof folder, "%s/zyphora", base);
  else if (home && home[0] == '/')
    n = snprintf(folder, sizeof folder, "%s/%s/zyphora", home, fallback);
  else
    return false;
  if (n < 0 || (size_t)n >= sizeof folder || (size_t)n >= size || !hostMakeFolders(folder))
    return false;
  snprintf(path, size, "%s", folder);
  return true;
}

} // namespace

bool hostUserFolder(char *path, size_t size) {
  return xdgFolder("XDG_DATA_HOME", ".local/share", path, size);
}

bool hostConfigFolder(char *path, size_t size) {
  return xdgFolder("XDG_CONFIG_HOME", ".config", path, size);
}

void hostMessageBox(const char *title, const char *text) {
  if (hostTestSeams.messageBox) {
    hostTestSeams.messageBox(hostTestSeams.messageBoxContext, title ? title : "", text ? text : "");
    return;
  }
  HostWindow *owner = nullptr;
  for (HostWindow *w = hostNewestWindow(); w; w = w->next)
    if (w->focused) owner = w;
  if (displayCanShowBox() && hostShowBox(title, text, owner ? owner->sdl : nullptr)) return;
  fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}

void hostApplyCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

int hostShowCursor(bool show) {
  cursorCounter += show ? 1 : -1;
  hostApplyCursor();
  return cursorCounter;
}
