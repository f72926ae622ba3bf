#include "KLog.h"

#include <initializer_list>

KLog::KLog(KLogFileType kLogFileType)
    : _logInfo(false), _info(nullptr), _logError(true), _error(nullptr), _logFatal(true),
      _fatal(nullptr), _logDebug(true), _debug(nullptr), _logFileType(kLogFileType) {
  if (kLogFileType != kLogKeepFilesOpen) return;
  // Created (or emptied) in the current folder; one that cannot be made stays null.
  _info = fopen("infos.log", "w");
  _error = fopen("errors.log", "w");
  _fatal = fopen("fatals.log", "w");
  _debug = fopen("debug.log", "w");
}

KLog::~KLog() {
  if (_logFileType != kLogKeepFilesOpen) return;
  for (FILE *file : {_info, _error, _fatal, _debug})
    if (file) fclose(file);
}
