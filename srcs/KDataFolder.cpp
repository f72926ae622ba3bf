#include "KDataFolder.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "KPathRules.h"
#include "host.h"

namespace {

// The file whose presence marks a data folder: the menu's picture, the first the game draws.
const char kMarker[] = "data/menu.tga";

bool holdsData(const char *folder) {
  if (!folder[0]) return false;
  char path[300];
  int n = snprintf(path, sizeof path, "%s/%s", folder, kMarker);
  struct stat info;
  return n > 0 && (size_t)n < sizeof path && stat(path, &info) == 0 && S_ISREG(info.st_mode) &&
         access(path, R_OK) == 0;
}

// Names a folder to look in. A name too long for the record is left empty, not looked in:
// cut short, it would name some other folder.
void nameFolder(char *out, size_t size, const char *folder, const char *suffix) {
  int n = snprintf(out, size, "%s%s", folder, suffix);
  if (n < 0 || (size_t)n >= size) out[0] = 0;
}

} // namespace

KDataSearch searchDataFolder(const char *programFolder) {
  KDataSearch search{};
  search.found = -1;
  if (!programFolder[0]) return search; // the executable's folder is unknown: nowhere to look
  nameFolder(search.looked[0], sizeof search.looked[0], programFolder, "");
  // The parent is taken by name, so that the message names a plain folder (/usr/share/zyphora,
  // not /usr/games/../share/zyphora).
  std::string parent = programFolder;
  cutToFolder(&parent[0]);
  if (strlen(parent.c_str()) == parent.size()) parent.clear(); // no parent by name: the root
  nameFolder(search.looked[1], sizeof search.looked[1], parent.c_str(), "/share/zyphora");
  nameFolder(search.looked[2], sizeof search.looked[2], parent.c_str(), "/share/games/zyphora");

  for (int i = 0; i < KDataSearch::kCandidates && search.found < 0; i++)
    if (holdsData(search.looked[i])) search.found = i;
  return search;
}

KDataSearch findDataFolder() {
  char folder[4096]; // the host cuts to the buffer: a whole path fits, the search then sizes it
  if (!hostExecutablePath(folder, sizeof folder)) folder[0] = 0;
  cutToFolder(folder);
  return searchDataFolder(folder);
}
