// The preferences loader against any bytes: whatever the file holds, the record is replaced by
// at most its first 56 bytes, and writing it back gives those bytes again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "prefs_file.h"

namespace {

void writeSeed(const char *folder, const char *name, const unsigned char *bytes, size_t size)
{
    const std::string path = std::string(folder) + "/" + name;
    if (FILE *f = fopen(path.c_str(), "wb")) {
        fwrite(bytes, 1, size, f);
        fclose(f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *folder = getenv("ZYPHORA_FUZZ_SEED_DIR");
    if (!folder) return 0;
    const sPreference start = {80, 80, {3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0}};
    unsigned char bytes[PREFS_FILE_SIZE];
    encodePrefs(start, bytes);
    writeSeed(folder, "defaults", bytes, sizeof bytes);
    writeSeed(folder, "short", bytes, 13);
    const sPreference odd = {12, -3, {2147483647, -1, 0, 5, 4, 3}, {-2147483647 - 1, 1, 2, 3, 4, 5}};
    encodePrefs(odd, bytes);
    writeSeed(folder, "odd", bytes, sizeof bytes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    sPreference prefs = {80, 80, {3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0}};
    unsigned char before[PREFS_FILE_SIZE], after[PREFS_FILE_SIZE];
    encodePrefs(prefs, before);
    decodePrefs(data, size, prefs);
    encodePrefs(prefs, after);
    const size_t used = size < PREFS_FILE_SIZE ? size : PREFS_FILE_SIZE;
    if (memcmp(after, data, used) != 0) abort();  // the file's bytes, in place
    if (memcmp(after + used, before + used, PREFS_FILE_SIZE - used) != 0) abort();  // the rest kept
    return 0;
}
