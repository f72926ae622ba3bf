#include "KDataFolder.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "KPathRules.h"
#include "host.h"

namespace {

// The file whose presence marks a data folder: the menu's picture, the first the game draws.
const char kMarker[] = "data/menu.tga";

bool holdsData(const char *folder) {
  char path[300];
  int n = snprintf(path, sizeof path, "%s/%s", folder, kMarker);
  struct stat info;
  return n > 0 && (size_t)n < sizeof path && stat(path, &info) == 0 && S_ISREG(info.st_mode) &&
         access(path, R_OK) == 0;
}

} // namespace

KDataSearch searchDataFolder(const char *programFolder) {
  KDataSearch search;
  snprintf(search.looked[0], sizeof search.looked[0], "%s", programFolder);
  // The parent is taken by name, so that the message names a plain folder (/usr/share/zyphora,
  // not /usr/games/../share/zyphora).
  char parent[260];
  snprintf(parent, sizeof parent, "%s", programFolder);
  size_t before = strlen(parent);
  cutToFolder(parent);
  if (strlen(parent) == before) parent[0] = 0; // no parent by name: the root
  snprintf(search.looked[1], sizeof search.looked[1], "%s/share/zyphora", parent);

  search.found = -1;
  for (int i = 0; i < KDataSearch::kCandidates && search.found < 0; i++)
    if (holdsData(search.looked[i])) search.found = i;
  return search;
}

KDataSearch findDataFolder() {
  char folder[260];
  if (!hostExecutablePath(folder, sizeof folder)) folder[0] = 0;
  cutToFolder(folder);
  return searchDataFolder(folder);
}
