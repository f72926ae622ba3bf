// Where the data is found: beside the executable first, then an installed copy's share folder
// (share/zyphora, or share/games/zyphora as Debian installs games);
// and what the player is told when it is in neither.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "KDataFolder.h"
#include "launch.h"

namespace fs = std::filesystem;

namespace {

class DataFolder : public ::testing::Test {
protected:
  fs::path root;

  void SetUp() override {
    root = fs::temp_directory_path() /
           ("zyphora-data-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "usr/games");
  }
  void TearDown() override { fs::remove_all(root); }

  void putData(const fs::path &folder) {
    fs::create_directories(folder / "data");
    std::ofstream(folder / "data/menu.tga") << "picture";
  }
  KDataSearch search() { return searchDataFolder((root / "usr/games").c_str()); }
};

} // namespace

TEST_F(DataFolder, LooksBesideTheExecutableThenInTheSharedFoldersOfItsParent) {
  KDataSearch result = search();
  EXPECT_EQ((root / "usr/games").string(), result.looked[0]);
  EXPECT_EQ((root / "usr/share/zyphora").string(), result.looked[1]);
  EXPECT_EQ((root / "usr/share/games/zyphora").string(), result.looked[2]);
  EXPECT_EQ(-1, result.found);
}

TEST_F(DataFolder, AnInstalledCopyIsFound) {
  putData(root / "usr/share/zyphora");
  EXPECT_EQ(1, search().found);
}

TEST_F(DataFolder, ADebianInstalledGameIsFoundInTheGamesShareFolder) {
  putData(root / "usr/share/games/zyphora");
  EXPECT_EQ(2, search().found);
  putData(root / "usr/share/zyphora"); // the plain share folder is looked in first
  EXPECT_EQ(1, search().found);
}

TEST_F(DataFolder, DataBesideTheExecutableWinsOverAnInstalledCopy) {
  putData(root / "usr/share/zyphora");
  putData(root / "usr/games");
  EXPECT_EQ(0, search().found);
}

TEST_F(DataFolder, AFolderWithoutTheMenuPictureIsNotData) {
  fs::create_directories(root / "usr/games/data/audio");
  fs::create_directories(root / "usr/share/zyphora/data/menu.tga"); // a folder, not a picture
  std::ofstream(root / "usr/share/zyphora/data/sprites.tga") << "picture";
  EXPECT_EQ(-1, search().found);
}

TEST_F(DataFolder, AShareFolderTooLongToNameIsNotLookedIn) {
  // A parent folder 250 bytes long: its share folder does not fit a 260-byte record, and the
  // name cut to fit (".../share/zy") holds data.
  fs::path parent = root / "p";
  parent += std::string(250 - parent.string().size(), 'p');
  fs::create_directories(parent / "games");
  putData(parent / "share/zy");
  KDataSearch result = searchDataFolder((parent / "games").c_str());
  EXPECT_EQ(parent / "games", fs::path(result.looked[0]));
  EXPECT_STREQ("", result.looked[1]);
  EXPECT_STREQ("", result.looked[2]);
  EXPECT_EQ(-1, result.found);
  EXPECT_EQ(std::string::npos, missingDataMessage(result).find("\n  \n"));
}

TEST(DataFolderUnknown, AnExecutableFolderNotKnownLooksNowhere) {
  KDataSearch result = searchDataFolder("");
  EXPECT_STREQ("", result.looked[0]);
  EXPECT_STREQ("", result.looked[1]);
  EXPECT_STREQ("", result.looked[2]);
  EXPECT_EQ(-1, result.found);
}

TEST(DataFolderAtRoot, AnExecutableInATopFolderLooksInTheRootsShareFolder) {
  KDataSearch result = searchDataFolder("/bin");
  EXPECT_STREQ("/bin", result.looked[0]);
  EXPECT_STREQ("/share/zyphora", result.looked[1]);
  EXPECT_STREQ("/share/games/zyphora", result.looked[2]);
}

TEST(DataFolderOfThisBuild, TheTestsOwnFolderHoldsTheData) {
  KDataSearch result = findDataFolder();
  EXPECT_EQ(0, result.found);
  EXPECT_TRUE(fs::exists(fs::path(result.looked[0]) / "data/menu.tga"));
}

TEST(MissingData, TheMessageNamesTheFileAndEveryFolderLookedIn) {
  KDataSearch result = searchDataFolder("/nowhere/bin");
  std::string message = missingDataMessage(result);
  EXPECT_NE(std::string::npos, message.find("data/menu.tga"));
  EXPECT_NE(std::string::npos, message.find("\n  /nowhere/bin\n"));
  EXPECT_NE(std::string::npos, message.find("\n  /nowhere/share/zyphora\n"));
  EXPECT_NE(std::string::npos, message.find("\n  /nowhere/share/games/zyphora\n"));
  EXPECT_LT(message.find("/nowhere/bin"), message.find("/nowhere/share/zyphora"));
  EXPECT_LT(message.find("/nowhere/share/zyphora"), message.find("/nowhere/share/games/zyphora"));
}
