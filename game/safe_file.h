// Files the player cares about (preferences, settings): read only when they are regular files,
// written so that no crash, full disk, planted link or stray FIFO can lose or misdirect them.
#ifndef ZYPHORA_SAFE_FILE_H
#define ZYPHORA_SAFE_FILE_H

#include <cstddef>
#include <string>

enum class FileRead {
  READ,       // the bytes are in `bytes` (at most the limit asked for)
  ABSENT,     // no such file: the defaults apply, and a save may create it
  UNREADABLE, // something is there that cannot be read (no permission, a FIFO, a folder):
              // never overwrite it
};

// Reads up to `limit` bytes of a regular file without blocking on FIFOs or devices.
FileRead readPlayerFile(const char *path, std::string &bytes, size_t limit);

// Replaces `path` with `bytes` at once: a temporary file, created exclusively beside it (a
// link planted there is never followed), is written, synced and renamed over the old file.
// False on any failure, with the old file left as it was and no temporary left behind.
bool writePlayerFile(const char *path, const std::string &bytes);

#endif
