#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "safe_file.h"
#include "temp_folder.h"

using SafeFile = TempFolderTest;

TEST_F(SafeFile, ReadsRegularFilesUpToTheLimit) {
  writeText(path("f"), "0123456789");
  std::string bytes;
  EXPECT_EQ(FileRead::READ, readPlayerFile(path("f").c_str(), bytes, 4));
  EXPECT_EQ("0123", bytes);
  EXPECT_EQ(FileRead::READ, readPlayerFile(path("f").c_str(), bytes, 100));
  EXPECT_EQ("0123456789", bytes);
  EXPECT_EQ(FileRead::ABSENT, readPlayerFile(path("none").c_str(), bytes, 100));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(SafeFile, WhatIsThereButCannotBeReadIsNeverTakenForAbsent) {
  std::string bytes;
  ASSERT_EQ(0, mkfifo(path("fifo").c_str(), 0600)); // no writer: a blocking open would hang
  EXPECT_EQ(FileRead::UNREADABLE, readPlayerFile(path("fifo").c_str(), bytes, 100));
  std::filesystem::create_directory(path("dir"));
  EXPECT_EQ(FileRead::UNREADABLE, readPlayerFile(path("dir").c_str(), bytes, 100));
  if (geteuid() != 0) { // root reads whatever the mode says
    writeText(path("private"), "x");
    chmod(path("private").c_str(), 0);
    EXPECT_EQ(FileRead::UNREADABLE, readPlayerFile(path("private").c_str(), bytes, 100));
  }
}

TEST_F(SafeFile, WriteReplacesTheFileAndLeavesNothingBehind) {
  writeText(path("f"), "old contents, longer than the new");
  ASSERT_TRUE(writePlayerFile(path("f").c_str(), std::string("new\0bytes", 9)));
  EXPECT_EQ(std::string("new\0bytes", 9), readText(path("f")));
  EXPECT_EQ(1u, entries()); // no temporary left
}

TEST_F(SafeFile, APlantedLinkIsReplacedNotFollowed) {
  writeText(path("target"), "someone else's file");
  ASSERT_EQ(0, symlink(path("target").c_str(), path("f").c_str()));
  ASSERT_TRUE(writePlayerFile(path("f").c_str(), "mine"));
  EXPECT_EQ("someone else's file", readText(path("target")));
  EXPECT_EQ("mine", readText(path("f")));
  EXPECT_FALSE(std::filesystem::is_symlink(path("f")));
}

TEST_F(SafeFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  EXPECT_FALSE(writePlayerFile(path("missing/f").c_str(), "x")); // no such folder
  std::filesystem::create_directory(path("dir"));
  writeText(path("dir/inside"), "x");
  EXPECT_FALSE(writePlayerFile(path("dir").c_str(), "x")); // a folder in the way
  EXPECT_EQ("x", readText(path("dir/inside")));
  EXPECT_EQ(1u, entries());
}
