#ifndef KPATHRULES_H
#define KPATHRULES_H

#include <cstddef>

// The path rules of KMiscTools, as pure functions over caller buffers (never overflowed:
// results are cut to size - 1 characters).

// Ends path at its last separator, scanning back down to the second character, so that an
// executable's path becomes its folder without a trailing separator.
void cutToFolder(char *path);

// folder + '/' + name with every '\' turned into '/'. A leading '\' or ':' of the name is
// skipped; a name starting with '/' is absolute and a name with a drive colon as its second
// character is taken as given.
void buildFilePath(char *out, size_t size, const char *folder, const char *filename);

#endif
