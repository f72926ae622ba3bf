// The preferences file "zyphor.prf": 56 little-endian bytes, field by field in record order
// (sfx, zik, six scores, six levels), so a file written on any platform loads on any other.
#ifndef ZYPHORA_PREFS_FILE_H
#define ZYPHORA_PREFS_FILE_H

#include <cstddef>

#include "safe_file.h"
#include "zyphora.h"

constexpr size_t PREFS_FILE_SIZE = 56;

// The record as file bytes.
void encodePrefs(const sPreference &prefs, unsigned char bytes[PREFS_FILE_SIZE]);

// Lays `size` bytes of a file over the record: a short file replaces only the leading bytes it
// holds, bytes past the 56th are ignored. Any size is accepted, 0 included.
void decodePrefs(const unsigned char *bytes, size_t size, sPreference &prefs);

// The file's full path in the user folder; false when it does not fit the buffer.
bool prefsFilePath(char *path, size_t size);

// Reads the file over the record (as decodePrefs lays it). ABSENT and UNREADABLE leave the
// record as it was; UNREADABLE is a file that is there but cannot be read (another owner, no
// permission, a FIFO, a folder), which a save must never replace.
FileRead readPrefsFile(const char *path, sPreference &prefs);

// Replaces the file with the record at once, through an exclusive temporary beside it: a crash,
// a full disk or a killed process leaves the old file whole. False on failure.
bool writePrefsFile(const char *path, const sPreference &prefs);

#endif
