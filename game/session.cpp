#include "session.h"

#include <cstdio>

#include "host.h"
#include "zyphora.h"

bool startDesktopSession() {
  hostCatchEndSignals(); // before SDL starts
  hostOnDisplayLost(saveLoadedPrefs);
  char reason[512];
  if (hostOpenRealDisplay(reason, sizeof reason)) return true;
  fprintf(stderr, "Zyphora needs a graphical desktop: no display could be opened (%s)\n", reason);
  return false;
}
