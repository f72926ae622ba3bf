#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "KMiscTools.h"
#include "menu.h"
#include "prefs_file.h"
#include "prefs_fixture.h"

namespace {

void expectTable(const int32_t (&scores)[6], const int32_t (&levels)[6]) {
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(scores[i], preferences.highscore[i]) << "row " << i;
    EXPECT_EQ(levels[i], preferences.level[i]) << "row " << i;
  }
}

} // namespace

// ---- the file's bytes --------------------------------------------------------------------------

TEST_F(PrefsTest, EncodesFieldByFieldLittleEndian) {
  sPreference p = {7, -2, {0x01020304, 2, 3, 4, 5, 6}, {1, 1, 1, 1, 1, -1}};
  unsigned char bytes[PREFS_FILE_SIZE];
  encodePrefs(p, bytes);
  const std::vector<unsigned char> expected =
      fileOf({7, -2, 0x01020304, 2, 3, 4, 5, 6, 1, 1, 1, 1, 1, -1});
  ASSERT_EQ(56u, expected.size());
  EXPECT_EQ(0, memcmp(expected.data(), bytes, 56));
  EXPECT_EQ(0xFE, bytes[4]); // -2, low byte first
  EXPECT_EQ(0x04, bytes[8]);
  EXPECT_EQ(0x01, bytes[11]);
}

TEST_F(PrefsTest, DecodingAShortFileReplacesOnlyTheLeadingBytes) {
  sPreference p = preferences; // sfx 80 = 0x50, zik 80
  const unsigned char six[] = {3, 0, 0, 0, 0x34, 0x12};
  decodePrefs(six, sizeof six, p);
  EXPECT_EQ(3, p.sfx);
  EXPECT_EQ(0x1234, p.zik); // low two bytes from the file, high two kept (zero)
  EXPECT_EQ(3000, p.highscore[0]);
  decodePrefs(six, 0, p); // an empty file changes nothing
  EXPECT_EQ(3, p.sfx);
}

TEST_F(PrefsTest, DecodingALongerFileReadsOnlyTheFirst56Bytes) {
  std::vector<unsigned char> bytes = fileOf({1, 2, 10, 9, 8, 7, 6, 5, 1, 2, 3, 4, 5, 6});
  bytes.insert(bytes.end(), 40, 0xFF);
  sPreference p = preferences;
  decodePrefs(bytes.data(), bytes.size(), p);
  EXPECT_EQ(1, p.sfx);
  EXPECT_EQ(5, p.highscore[5]);
  EXPECT_EQ(6, p.level[5]);
}

// ---- loading -----------------------------------------------------------------------------------

TEST_F(PrefsTest, FirstRunWithoutAFileHasFullVolumesAndTheStartingTable) {
  loadPrefs();
  EXPECT_EQ(10, gVolumeSFX);
  EXPECT_EQ(10, gVolumeMusic);
  EXPECT_EQ(80, preferences.sfx); // the record itself is not clamped
  expectTable({3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0});
  EXPECT_EQ(100, lastGlobalVolumes.music);
  EXPECT_EQ(100, lastGlobalVolumes.sfx);
}

TEST_F(PrefsTest, OutOfRangeVolumesAreClampedAndSavedClamped) {
  writeFile(fileOf({12, -3, 9000, 800, 70, 6, 5, 4, 9, 8, 7, 6, 5, 4}));
  loadPrefs();
  EXPECT_EQ(10, gVolumeSFX);
  EXPECT_EQ(0, gVolumeMusic);
  EXPECT_EQ(0, lastGlobalVolumes.music); // streams first
  EXPECT_EQ(100, lastGlobalVolumes.sfx);
  expectTable({9000, 800, 70, 6, 5, 4}, {9, 8, 7, 6, 5, 4});

  savePrefs();
  EXPECT_EQ(fileOf({10, 0, 9000, 800, 70, 6, 5, 4, 9, 8, 7, 6, 5, 4}), readFile());
}

TEST_F(PrefsTest, AnyFileLengthLoads) {
  for (size_t length : {0u, 1u, 3u, 8u, 55u, 56u, 57u, 4096u}) {
    SetUp();
    std::vector<unsigned char> bytes = fileOf({4, 5, 1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1});
    bytes.resize(length, 0xAB);
    writeFile(bytes);
    loadPrefs();
    unsigned char expected[PREFS_FILE_SIZE];
    sPreference start = {80, 80, {3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0}};
    encodePrefs(start, expected);
    memcpy(expected, bytes.data(), std::min<size_t>(length, 56));
    unsigned char got[PREFS_FILE_SIZE];
    encodePrefs(preferences, got);
    EXPECT_EQ(0, memcmp(expected, got, 56)) << length << " bytes";
    EXPECT_GE(gVolumeSFX, 0);
    EXPECT_LE(gVolumeSFX, 10);
    EXPECT_GE(gVolumeMusic, 0);
    EXPECT_LE(gVolumeMusic, 10);
  }
}

// ---- saving ------------------------------------------------------------------------------------

TEST_F(PrefsTest, SaveWritesTheVolumesAndTheTableIn56Bytes) {
  gVolumeSFX = 3;
  gVolumeMusic = 7;
  savePrefs();
  EXPECT_EQ(3, preferences.sfx);
  EXPECT_EQ(7, preferences.zik);
  EXPECT_EQ(fileOf({3, 7, 3000, 2000, 1000, 500, 250, 0, 5, 4, 3, 2, 1, 0}), readFile());
  EXPECT_FALSE(std::filesystem::exists(file() + ".tmp"));
}

TEST_F(PrefsTest, ASaveInterruptedAfterTheTemporaryFileLeavesTheOldFileWhole) {
  const std::vector<unsigned char> old = fileOf({2, 3, 100, 90, 80, 70, 60, 50, 1, 1, 1, 1, 1, 1});
  writeFile(old);
  // The process died between writing the new bytes and putting them in place: its temporary
  // file, named beside the real one, is left over.
  const std::string leftover = file() + ".Xy12Zw";
  std::ofstream(leftover, std::ios::binary).write("\x09\0\0\0", 4);
  EXPECT_EQ(old, readFile());

  loadPrefs(); // the next run reads the old table, ignoring the leftover
  EXPECT_EQ(2, gVolumeSFX);
  EXPECT_EQ(100, preferences.highscore[0]);

  gVolumeSFX = 5;
  savePrefs(); // and its own save replaces the file, leaving nothing of its own behind
  EXPECT_EQ(5, readFile()[0]);
  EXPECT_EQ(4u, std::filesystem::file_size(leftover));
  EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(folder()), {}));
}

TEST_F(PrefsTest, AFailedSaveKeepsTheOldFileAndIsSilent) {
  const std::vector<unsigned char> old = fileOf({2, 3, 100, 90, 80, 70, 60, 50, 1, 1, 1, 1, 1, 1});
  writeFile(old);
  // A full disk: no byte can be written.
  struct rlimit limit, none = {0, 0};
  getrlimit(RLIMIT_FSIZE, &limit);
  none.rlim_max = limit.rlim_max;
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &none);
  gVolumeSFX = 9;
  testing::internal::CaptureStderr();
  savePrefs();
  const std::string said = testing::internal::GetCapturedStderr();
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(old, readFile());
  EXPECT_EQ("", said);
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder()), {}));
}

TEST_F(PrefsTest, ALinkPlantedBesideTheFileIsNeverFollowed) {
  // Anyone who can write the folder may plant links under the names a save could use.
  const std::string target = home + "/victim";
  std::ofstream(target) << "keep";
  std::filesystem::create_directories(folder());
  for (const char *name : {".tmp", ".new", ".XXXXXX"})
    std::filesystem::create_symlink(target, file() + name);
  savePrefs();
  EXPECT_EQ(56u, readFile().size());
  EXPECT_EQ(4u, std::filesystem::file_size(target));
  EXPECT_TRUE(std::filesystem::is_symlink(file() + ".tmp"));
}

TEST_F(PrefsTest, AFileThatIsThereButCannotBeReadIsNeverReplacedAndSaidOnce) {
  // A FIFO blocks a plain open for ever; a folder cannot be read either; as another user,
  // a file without read permission is one too.
  std::vector<std::string> kinds = {"fifo", "folder"};
  if (geteuid() != 0) kinds.push_back("private");
  for (const std::string &kind : kinds) {
    SetUp();
    std::filesystem::create_directories(folder());
    if (kind == "fifo") { ASSERT_EQ(0, mkfifo(file().c_str(), 0600)); }
    if (kind == "folder") std::filesystem::create_directory(file());
    if (kind == "private") {
      writeFile(fileOf({1, 1, 5000, 4000, 3000, 2000, 1000, 0, 9, 9, 9, 9, 9, 9}));
      chmod(file().c_str(), 0);
    }
    const auto type = std::filesystem::symlink_status(file()).type();
    testing::internal::CaptureStderr();
    loadPrefs();
    gScore = 2500; // an entry, then the menu's end: neither may replace the file
    isHighscore();
    savePrefs();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(type, std::filesystem::symlink_status(file()).type()) << kind;
    EXPECT_EQ(3000, preferences.highscore[0]) << kind; // the run goes on with the defaults
    EXPECT_EQ(2500, preferences.highscore[1]) << kind;
    EXPECT_NE(std::string::npos, said.find(file() + " is there but cannot be read")) << said;
    EXPECT_EQ(said.find(file()), said.rfind(file())) << "said once: " << said;
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder()), {})) << kind;
    chmod(file().c_str(), 0600);
  }
}

TEST_F(PrefsTest, AFileThatBecomesUnreadableDuringTheRunIsNotReplaced) {
  writeFile(fileOf({4, 4, 100, 90, 80, 70, 60, 50, 1, 1, 1, 1, 1, 1}));
  loadPrefs();
  std::filesystem::remove(file());
  ASSERT_EQ(0, mkfifo(file().c_str(), 0600));
  testing::internal::CaptureStderr();
  savePrefs();
  savePrefs();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::filesystem::is_fifo(file()));
  EXPECT_EQ(said.find(file()), said.rfind(file())) << said;
  EXPECT_NE(std::string::npos, said.find(file())) << said;
}

TEST_F(PrefsTest, ASaveOverAFileThatIsInTheWayFailsWithoutHarm) {
  std::filesystem::create_directories(file()); // a folder where the file should be
  std::filesystem::create_directory(file() + "/keep");
  savePrefs();
  EXPECT_TRUE(std::filesystem::is_directory(file() + "/keep"));
  EXPECT_FALSE(std::filesystem::exists(file() + ".tmp"));
  loadPrefs(); // and reading a folder loads nothing
  EXPECT_EQ(3000, preferences.highscore[0]);
}

TEST_F(PrefsTest, AUserFolderPathTooLongForThePathBufferIsNotUsed) {
  std::string deep = home;
  while (deep.size() < 300) deep += "/abcdefghijklmnopqrstuvwxyz";
  std::filesystem::create_directories(deep);
  setenv("XDG_DATA_HOME", deep.c_str(), 1);
  char path[300];
  EXPECT_FALSE(prefsFilePath(path, sizeof path) && std::string(path).find(deep) == 0);
}

TEST_F(PrefsTest, AnUnusableUserFolderLeavesTheGameOnItsDefaults) {
  // Neither the user folder nor the program folder it falls back to can hold a file.
  const std::string plain = home + "/plainfile";
  std::ofstream(plain).put('x');
  setenv("XDG_DATA_HOME", plain.c_str(), 1);
  char programFolder[sizeof KMiscTools::currentFilePath];
  memcpy(programFolder, KMiscTools::currentFilePath, sizeof programFolder);
  snprintf(KMiscTools::currentFilePath, sizeof KMiscTools::currentFilePath, "%s", plain.c_str());

  loadPrefs();
  const int loadedSfx = gVolumeSFX;
  gVolumeMusic = 4;
  savePrefs(); // silent
  memcpy(KMiscTools::currentFilePath, programFolder, sizeof programFolder);

  EXPECT_EQ(10, loadedSfx);
  EXPECT_EQ(100, lastGlobalVolumes.sfx);
  expectTable({3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0});
  EXPECT_EQ(4, preferences.zik); // the run carries on with what it has in memory
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(home), {})); // nothing written
}

// ---- entering a score --------------------------------------------------------------------------

TEST_F(PrefsTest, A2500EntersAsRowOneAndTheMenuShowsTheTable) {
  gScore = 2500;
  gLevel = 7;
  EXPECT_TRUE(isHighscore());
  expectTable({3000, 2500, 2000, 1000, 500, 250}, {5, 7, 4, 3, 2, 1});
  EXPECT_EQ(1, lastHighscore);
  EXPECT_EQ(2, gMenuActive);
  for (int i = 0; i < MENU_ITEMS; i++) EXPECT_EQ(i == 2, menus[i].active == 1) << i; // lit too
}

TEST_F(PrefsTest, AnEntryReachesTheDiskAtOnce) {
  writeFile(fileOf({6, 2, 3000, 2000, 1000, 500, 250, 0, 5, 4, 3, 2, 1, 0}));
  loadPrefs();
  gScore = 2500;
  gLevel = 7;
  isHighscore();
  EXPECT_EQ(fileOf({6, 2, 3000, 2500, 2000, 1000, 500, 250, 5, 7, 4, 3, 2, 1}), readFile());

  gScore = 10; // below the sixth row: the file is left alone
  std::filesystem::remove(file());
  isHighscore();
  EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(PrefsTest, AScoreEqualToTheBestGoesBelowIt) {
  gScore = 3000;
  gLevel = 9;
  EXPECT_TRUE(isHighscore());
  expectTable({3000, 3000, 2000, 1000, 500, 250}, {5, 9, 4, 3, 2, 1});
  EXPECT_EQ(1, lastHighscore);
}

TEST_F(PrefsTest, ANewBestTakesRowZero) {
  gScore = 99999;
  gLevel = 12;
  EXPECT_TRUE(isHighscore());
  expectTable({99999, 3000, 2000, 1000, 500, 250}, {12, 5, 4, 3, 2, 1});
  EXPECT_EQ(0, lastHighscore);
}

TEST_F(PrefsTest, AScoreBelowTheSixthRowChangesNothing) {
  preferences.highscore[5] = 100;
  lastHighscore = 3;
  gMenuActive = 0;
  gScore = 99;
  EXPECT_FALSE(isHighscore());
  expectTable({3000, 2000, 1000, 500, 250, 100}, {5, 4, 3, 2, 1, 0});
  EXPECT_EQ(3, lastHighscore); // the old entry keeps blinking
  EXPECT_EQ(0, gMenuActive);
}

TEST_F(PrefsTest, AScoreThatOnlyReachesTheSixthRowIsStoredThere) {
  lastHighscore = 2;
  gScore = 250; // equal to row 4: not above any shown row
  gLevel = 3;
  EXPECT_TRUE(isHighscore());
  expectTable({3000, 2000, 1000, 500, 250, 250}, {5, 4, 3, 2, 1, 3});
  EXPECT_EQ(-1, lastHighscore); // nothing new to blink
  EXPECT_EQ(2, gMenuActive);

  SetUp();
  gScore = 0; // the lowest entry the starting table lets in
  gLevel = 4;
  EXPECT_TRUE(isHighscore());
  expectTable({3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 4});
}
