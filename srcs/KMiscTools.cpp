#include "KMiscTools.h"

#include <SDL.h>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "KDataFolder.h"
#include "KPathRules.h"
#include "host.h"

char KMiscTools::currentFilePath[260];
int64_t KMiscTools::_unitsPerSecond;
int64_t KMiscTools::tstart;
int64_t KMiscTools::tnow;
int KMiscTools::_HighFreq;
KLog KMiscTools::_kLog(kLogOpenAndCloseFiles);

namespace {

char builtPath[260]; // makeFilePath's result
char szPath[260];    // getUserFolder's result

// The folder holding the game's data (beside the executable or in an installed copy's
// share/zyphora), else the executable's folder.
void readProgramFolder() {
  KDataSearch search = findDataFolder();
  snprintf(KMiscTools::currentFilePath, sizeof KMiscTools::currentFilePath, "%s",
           search.looked[search.found < 0 ? 0 : search.found]);
}

} // namespace

void KMiscTools::initMiscTools() {
  readProgramFolder();
  initMillisecond();
}

char *KMiscTools::makeFilePath(const char *filename) {
  builtPath[0] = 0;
  if (currentFilePath[0] == 0) {
    readProgramFolder();
    initMillisecond();
  }
  buildFilePath(builtPath, sizeof builtPath, currentFilePath, filename);
  return builtPath;
}

char *KMiscTools::getUserFolder() {
  if (hostUserFolder(szPath, sizeof szPath)) return szPath;
  return makeFilePath("");
}

void KMiscTools::messageBox(const char *title, const char *text) { hostMessageBox(title, text); }

long KMiscTools::getYear() {
  time_t now = time(nullptr);
  struct tm local;
  if (!localtime_r(&now, &local)) return 0;
  return local.tm_year + 1900L;
}

void KMiscTools::initMillisecond() {
  _unitsPerSecond = (int64_t)hostCounterFrequency();
  _HighFreq = _unitsPerSecond > 0;
}

uint32_t KMiscTools::getMilliseconds() {
  if (!_HighFreq) {
    tnow = SDL_GetTicks();
    return (uint32_t)tnow;
  }
  // The frequency is read with the counter so that a test's stepped clock takes over at once;
  // the division is split so that counter * 1000 cannot overflow after a long uptime.
  _unitsPerSecond = (int64_t)hostCounterFrequency();
  tnow = (int64_t)hostCounter();
  int64_t ticks = tnow - tstart;
  return (uint32_t)(ticks / _unitsPerSecond * 1000 +
                    ticks % _unitsPerSecond * 1000 / _unitsPerSecond);
}

void KMiscTools::launchURL(char *url, bool maximised) {
  if (!url) return;
  URLParms *parms = new URLParms;
  snprintf(parms->url, sizeof parms->url, "%s", url);
  parms->maximised = maximised; // the desktop's opener chooses the window's size
  std::thread([parms] {
    char opener[] = "xdg-open";
    char *argv[] = {opener, parms->url, nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) == 0) waitpid(pid, nullptr, 0);
    delete parms;
  }).detach();
  SDL_Delay(100);
}
