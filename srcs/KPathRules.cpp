#include "KPathRules.h"

#include <cstdio>
#include <cstring>

void cutToFolder(char *path) {
  for (size_t i = strlen(path); i-- > 1;)
    if (path[i] == '/' || path[i] == '\\') {
      path[i] = 0;
      return;
    }
}

void buildFilePath(char *out, size_t size, const char *folder, const char *filename) {
  if (size == 0) return;
  if (!filename) filename = "";
  if (filename[0] == '\\' || filename[0] == ':') filename++;
  bool absolute = filename[0] == '/' || (filename[0] && filename[1] == ':');
  if (absolute)
    snprintf(out, size, "%s", filename);
  else
    snprintf(out, size, "%s/%s", folder, filename);
  for (char *p = out; *p; p++)
    if (*p == '\\') *p = '/';
}
