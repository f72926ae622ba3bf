// Screenshot names, the user's folder settings and the pictures folder read from them, and the
// claiming of a free name in a folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "host_shot.h"
#include "temp_home.h"

namespace {

std::tm moment(int year, int month, int day, int hour, int minute, int second) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  return when;
}

off_t fileSize(const std::string &path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 ? s.st_size : -1;
}

} // namespace

TEST(ScreenshotName, DateAndTimeZeroPaddedThenACounterFromTheSecondOn) {
  const std::tm when = moment(2026, 3, 7, 9, 5, 4);
  EXPECT_EQ("zyphora-20260307-090504.png", screenshotName(when, 1));
  EXPECT_EQ("zyphora-20260307-090504-2.png", screenshotName(when, 2));
  EXPECT_EQ("zyphora-20260307-090504-17.png", screenshotName(when, 17));
  EXPECT_EQ("zyphora-19991231-235959.png", screenshotName(moment(1999, 12, 31, 23, 59, 59), 1));
}

TEST(UserDirsFile, AnAbsoluteConfigHomeElseTheHomesConfigFolder) {
  EXPECT_EQ("/cfg/user-dirs.dirs", userDirsFile("/cfg", "/home/ann"));
  EXPECT_EQ("/home/ann/.config/user-dirs.dirs", userDirsFile(nullptr, "/home/ann"));
  EXPECT_EQ("/home/ann/.config/user-dirs.dirs", userDirsFile("", "/home/ann"));
  EXPECT_EQ("/home/ann/.config/user-dirs.dirs",
            userDirsFile("relative/cfg", "/home/ann")); // not absolute: ignored
  EXPECT_EQ("", userDirsFile(nullptr, nullptr));
  EXPECT_EQ("", userDirsFile(nullptr, "not/absolute"));
}

TEST(PicturesFolder, WithoutASettingItIsPicturesInTheHome) {
  EXPECT_EQ("/home/ann/Pictures", picturesFolder("", "/home/ann"));
  EXPECT_EQ("/home/ann/Pictures", picturesFolder("XDG_MUSIC_DIR=\"$HOME/Music\"\n", "/home/ann"));
}

TEST(PicturesFolder, TheSettingAsXdgUserDirsWritesIt) {
  const std::string home = "/home/ann";
  const std::string written = "# This file is written by xdg-user-dirs-update\n"
                              "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                              "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
                              "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
  EXPECT_EQ("/home/ann/Bilder", picturesFolder(written, home));
  EXPECT_EQ("/srv/shots", picturesFolder("XDG_PICTURES_DIR=\"/srv/shots\"", home));
  EXPECT_EQ("/srv/shots",
            picturesFolder("XDG_PICTURES_DIR=/srv/shots # comment", home)); // bare word
  EXPECT_EQ("/home/ann/My \"Pics\"",
            picturesFolder("XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"", home));
  EXPECT_EQ("/home/ann/Pics", picturesFolder("  XDG_PICTURES_DIR=\"$HOME/Pics///\"\r\n", home));
  EXPECT_EQ("/home/ann", picturesFolder("XDG_PICTURES_DIR=\"$HOME/\"", home));
  // The last setting wins, as when the file is sourced by a shell.
  EXPECT_EQ("/b", picturesFolder("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", home));
}

TEST(PicturesFolder, WhatIsNoFolderLeavesTheDefault) {
  const std::string home = "/home/ann";
  for (const char *line :
       {"# XDG_PICTURES_DIR=\"/commented\"", "XDG_PICTURES_DIRS=\"/other/key\"",
        "XDG_PICTURES_DIR=\"relative/folder\"", "XDG_PICTURES_DIR=\"$HOMEWORK/x\"",
        "XDG_PICTURES_DIR=\"\"", "XDG_PICTURES_DIR", "XDG_PICTURES_DIR \"/no/equals\""})
    EXPECT_EQ("/home/ann/Pictures", picturesFolder(line, home)) << line;
  // A setting that is no folder does not undo an earlier one.
  EXPECT_EQ("/a", picturesFolder("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"rel\"\n", home));
}

TEST(ClaimScreenshotFile, TheFirstFreeNameOfThatSecondIsCreatedEmpty) {
  TempHome scratch;
  const std::string folder = scratch.path();
  const std::tm when = moment(2026, 12, 10, 6, 30, 0);
  const std::string first = claimScreenshotFile(folder, when);
  EXPECT_EQ(folder + "/zyphora-20261210-063000.png", first);
  EXPECT_EQ(0, fileSize(first));
  EXPECT_EQ(folder + "/zyphora-20261210-063000-2.png", claimScreenshotFile(folder, when));
  EXPECT_EQ(folder + "/zyphora-20261210-063000-3.png", claimScreenshotFile(folder, when));
  // A name taken by anything, even a folder, is skipped; a gap is filled.
  std::filesystem::remove(first);
  std::filesystem::create_directory(first);
  EXPECT_EQ(folder + "/zyphora-20261210-063000-4.png", claimScreenshotFile(folder, when));
  // Another second starts again without a counter.
  EXPECT_EQ(folder + "/zyphora-20261210-063001.png",
            claimScreenshotFile(folder, moment(2026, 12, 10, 6, 30, 1)));
  EXPECT_EQ(5u, TempHome::filesIn(folder).size());
}

TEST(ClaimScreenshotFile, NoFolderNoFile) {
  TempHome scratch;
  EXPECT_EQ("", claimScreenshotFile(scratch.path() + "/missing", moment(2026, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(TempHome::filesIn(scratch.path()).empty()); // nor is the folder made here
}
