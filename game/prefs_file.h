// The preferences file "zyphor.prf": 56 little-endian bytes, field by field in record order
// (sfx, zik, six scores, six levels), so a file written on any platform loads on any other.
#ifndef ZYPHORA_PREFS_FILE_H
#define ZYPHORA_PREFS_FILE_H

#include <cstddef>

#include "zyphora.h"

constexpr size_t PREFS_FILE_SIZE = 56;

// The record as file bytes.
void encodePrefs(const sPreference &prefs, unsigned char bytes[PREFS_FILE_SIZE]);

// Lays `size` bytes of a file over the record: a short file replaces only the leading bytes it
// holds, bytes past the 56th are ignored. Any size is accepted, 0 included.
void decodePrefs(const unsigned char *bytes, size_t size, sPreference &prefs);

// The file's full path in the user folder; false when it does not fit the buffer.
bool prefsFilePath(char *path, size_t size);

// The save, in its two steps: the new bytes go to a temporary file beside the real one, which
// a rename then replaces at once. A crash, a full disk or a killed process between or during
// the steps leaves the old file whole. Each returns false on failure.
bool writePrefsTemporary(const char *tempPath, const sPreference &prefs);
bool commitPrefsTemporary(const char *tempPath, const char *path);

// The temporary file's name for a path; false when it does not fit the buffer.
bool prefsTemporaryPath(const char *path, char *tempPath, size_t size);

#endif
