#ifndef KRESOURCE_H
#define KRESOURCE_H

#include <cstdint>
#include <cstdio>

#include "KList.h"
#include "KObjectListable.h"

enum KResourceMode {
  K_RES_CLOSED = 0,
  K_RES_READ = 1000,
};

enum KResourceResult {
  K_RES_OK = 0,
  K_RES_STATE = 100, // wrong state for the call
  K_RES_MODE = 101,  // not open for reading
  K_RES_PARAM = 102, // bad argument
  K_RES_NOMEM = 103,
  K_RES_NOTFOUND = 104,
  K_RES_CREATERR = 105,
  K_RES_IOERR = 106,
  K_RES_BADFMT = 107,
};

enum KResourceWhence {
  K_RES_BEGIN = 0,
  K_RES_CURRENT = 1,
  K_RES_END = 2,
};

// A read-only file: a plain file, or a member of an archive listed in _lArchives
// (an archive is a KResource that overrides openResource).
class KResource : public KObjectListable {
public:
  KResource();
  virtual ~KResource();

  // Archives first, in list order; then the name as a plain file ("rb").
  KResourceResult open(const char *lpszResName, KResourceMode nMode);
  void close();
  KResourceResult seek(KResourceWhence nWhence, int nPos);
  KResourceResult tell(int &nPos);
  // Fewer bytes than asked (or none asked) is K_RES_IOERR.
  KResourceResult read(void *lpBuffer, unsigned int nBytes);

  // Archives open the member called lpszResName into lpResource; the base opens nothing.
  virtual KResourceResult openResource(const char *lpszResName, KResource *lpResource);

  FILE *_lpFile;
  bool _bFileInArchive;
  KResourceMode _nMode;
  uint32_t _nBeginPos;
  uint32_t _nSize;

  static KList<KResource> _lArchives;
};

#endif
