#ifndef KLOG_H
#define KLOG_H

#include <cstdio>

enum KLogFileType {
  kLogKeepFilesOpen = 1,     // the four logs are created in the current folder and kept open
  kLogOpenAndCloseFiles = 2, // no file is touched
};

// The engine's log-file holder (one instance, KMiscTools::_kLog).
class KLog {
public:
  explicit KLog(KLogFileType kLogFileType);
  ~KLog();

  bool _logInfo;
  FILE *_info; // "infos.log"
  bool _logError;
  FILE *_error; // "errors.log"
  bool _logFatal;
  FILE *_fatal; // "fatals.log"
  bool _logDebug;
  FILE *_debug; // "debug.log"
  KLogFileType _logFileType;

private:
  KLog(const KLog &) = delete;
  KLog &operator=(const KLog &) = delete;
};

#endif
