#ifndef KMISCTOOLS_H
#define KMISCTOOLS_H

#include <cstdint>

#include "KLog.h"

// Hand-over record of launchURL's thread.
struct URLParms {
  char url[2048];
  bool maximised;
};

// Small platform services: program folder and paths, user folder, message box, year,
// millisecond clock, opening an address.
class KMiscTools {
public:
  // Fills currentFilePath (the program folder: where the data is, see KDataFolder.h) and sets
  // up the clock.
  static void initMiscTools();

  // An absolute path for a name relative to the program's folder; '\' and '/' both separate.
  // The result lives in a static buffer until the next call and is cut to 259 characters.
  static char *makeFilePath(const char *filename);

  // The game's per-user data folder (created if missing), or the program's folder with a
  // trailing separator when it cannot be made. Static buffer, valid until the next call.
  static char *getUserFolder();

  // Modal box with a caption, a text and an OK button.
  static void messageBox(const char *title, const char *text);

  static long getYear();

  static void initMillisecond();

  // Milliseconds with an arbitrary origin, cut to 32 bits: compare with unsigned subtraction.
  static uint32_t getMilliseconds();

  // Opens an address or document with the system's default application.
  static void launchURL(char *url, bool maximised);

  static char currentFilePath[260];
  static int64_t _unitsPerSecond;
  static int64_t tstart;
  static int64_t tnow;
  static int _HighFreq;
  static KLog _kLog;
};

#endif
