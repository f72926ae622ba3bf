#include "KResource.h"

KList<KResource> KResource::_lArchives;

KResource::KResource()
    : _lpFile(nullptr), _bFileInArchive(false), _nMode(K_RES_CLOSED), _nBeginPos(0), _nSize(0) {}

KResource::~KResource() { close(); }

KResourceResult KResource::open(const char *lpszResName, KResourceMode nMode) {
  if (_nMode != K_RES_CLOSED) return K_RES_STATE;
  if (nMode != K_RES_READ) return K_RES_PARAM;
  if (!lpszResName) return K_RES_NOTFOUND;
  for (KResource *archive = _lArchives.getHead(); archive; archive = _lArchives.getNext(archive))
    if (archive->openResource(lpszResName, this) == K_RES_OK) return K_RES_OK;
  _lpFile = fopen(lpszResName, "rb");
  if (!_lpFile) return K_RES_NOTFOUND;
  _nMode = K_RES_READ;
  _nBeginPos = 0;
  _nSize = 0;
  return K_RES_OK;
}

void KResource::close() {
  if (_nMode == K_RES_CLOSED) return;
  if (_lpFile && !_bFileInArchive) fclose(_lpFile);
  _lpFile = nullptr;
  _bFileInArchive = false;
  _nMode = K_RES_CLOSED;
  _nBeginPos = 0;
  _nSize = 0;
}

KResourceResult KResource::seek(KResourceWhence nWhence, int nPos) {
  if (_nMode != K_RES_READ) return K_RES_STATE;
  switch (nWhence) {
  case K_RES_BEGIN: fseek(_lpFile, (long)_nBeginPos + nPos, SEEK_SET); break;
  case K_RES_CURRENT: fseek(_lpFile, nPos, SEEK_CUR); break;
  case K_RES_END:
    if (_nSize == 0)
      fseek(_lpFile, nPos, SEEK_END);
    else
      fseek(_lpFile, (long)_nBeginPos + (long)_nSize - nPos, SEEK_SET);
    break;
  default: return K_RES_PARAM;
  }
  return K_RES_OK;
}

KResourceResult KResource::tell(int &nPos) {
  if (_nMode != K_RES_READ) return K_RES_STATE;
  nPos = (int)(ftell(_lpFile) - (long)_nBeginPos);
  return K_RES_OK;
}

KResourceResult KResource::read(void *lpBuffer, unsigned int nBytes) {
  if (_nMode == K_RES_CLOSED) return K_RES_STATE;
  if (_nMode != K_RES_READ) return K_RES_MODE;
  if (nBytes == 0) return K_RES_IOERR;
  return fread(lpBuffer, 1, nBytes, _lpFile) < nBytes ? K_RES_IOERR : K_RES_OK;
}

KResourceResult KResource::openResource(const char *, KResource *) { return K_RES_STATE; }
