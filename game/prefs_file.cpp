#include "prefs_file.h"

#include <cstdio>
#include <cstring>

#include "KMiscTools.h"

namespace {

// The record's fields in file order.
constexpr size_t PREFS_FIELDS = PREFS_FILE_SIZE / 4;

void fieldPointers(sPreference &prefs, int32_t *fields[PREFS_FIELDS]) {
  size_t n = 0;
  fields[n++] = &prefs.sfx;
  fields[n++] = &prefs.zik;
  for (int32_t &score : prefs.highscore) fields[n++] = &score;
  for (int32_t &level : prefs.level) fields[n++] = &level;
}

} // namespace

void encodePrefs(const sPreference &prefs, unsigned char bytes[PREFS_FILE_SIZE]) {
  int32_t *fields[PREFS_FIELDS];
  fieldPointers(const_cast<sPreference &>(prefs), fields);
  for (size_t f = 0; f < PREFS_FIELDS; f++) {
    const uint32_t value = static_cast<uint32_t>(*fields[f]);
    for (int b = 0; b < 4; b++) bytes[f * 4 + b] = static_cast<unsigned char>(value >> (8 * b));
  }
}

void decodePrefs(const unsigned char *bytes, size_t size, sPreference &prefs) {
  unsigned char image[PREFS_FILE_SIZE];
  encodePrefs(prefs, image);
  memcpy(image, bytes, size < PREFS_FILE_SIZE ? size : PREFS_FILE_SIZE);

  int32_t *fields[PREFS_FIELDS];
  fieldPointers(prefs, fields);
  for (size_t f = 0; f < PREFS_FIELDS; f++) {
    uint32_t value = 0;
    for (int b = 0; b < 4; b++) value |= static_cast<uint32_t>(image[f * 4 + b]) << (8 * b);
    *fields[f] = static_cast<int32_t>(value);
  }
}

bool prefsFilePath(char *path, size_t size) {
  // makeFilePath turns the separators to '/' and leaves the absolute path as it is.
  // A name it would cut short must not be used: the save would land on another file.
  char joined[260]; // makeFilePath's own buffer size
  const int n = snprintf(joined, sizeof joined, "%s\\zyphor.prf", KMiscTools::getUserFolder());
  if (n < 0 || static_cast<size_t>(n) >= sizeof joined) return false;
  const int m = snprintf(path, size, "%s", KMiscTools::makeFilePath(joined));
  return m >= 0 && static_cast<size_t>(m) < size;
}

FileRead readPrefsFile(const char *path, sPreference &prefs) {
  std::string bytes;
  const FileRead read = readPlayerFile(path, bytes, PREFS_FILE_SIZE);
  if (read == FileRead::READ)
    decodePrefs(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), prefs);
  return read;
}

bool writePrefsFile(const char *path, const sPreference &prefs) {
  unsigned char bytes[PREFS_FILE_SIZE];
  encodePrefs(prefs, bytes);
  return writePlayerFile(path, std::string(reinterpret_cast<const char *>(bytes), sizeof bytes));
}
