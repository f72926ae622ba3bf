#include "settings_file.h"
#include "temp_folder.h"

using Settings = TempFolderTest;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST_F(Settings, RoundTripKeepsEveryValue) {
  SettingsFile saved;
  saved.setBool("display", "fullscreen", true);
  saved.setInt("display", "width", 1366);
  saved.setInt("keys", "fire", -7);
  saved.set("display", "scale", "sharp");
  ASSERT_TRUE(saved.save(path("zyphora.ini")));

  SettingsFile loaded;
  CaptureStderr();
  loaded.load(path("zyphora.ini"));
  EXPECT_EQ("", GetCapturedStderr());
  EXPECT_TRUE(loaded.getBool("display", "fullscreen", false));
  EXPECT_EQ(1366, loaded.getInt("display", "width", 0, 0, 10000));
  EXPECT_EQ(-7, loaded.getInt("keys", "fire", 0, -10, 10));
  EXPECT_EQ("sharp", loaded.getString("display", "scale", "integer"));
  EXPECT_EQ("integer", loaded.getString("display", "other", "integer"));
  EXPECT_EQ(nullptr, loaded.find("nowhere", "scale"));
}

TEST_F(Settings, HandWrittenFilesAreRead) {
  writeText(path("s.ini"), "; a comment\r\n# another\n\n  [display]  \nfullscreen=true\n"
                           "  width  =  800 \n[keys]\nup = 38\n");
  SettingsFile settings;
  settings.load(path("s.ini"));
  EXPECT_TRUE(settings.getBool("display", "fullscreen", false));
  EXPECT_EQ(800, settings.getInt("display", "width", 0, 0, 10000));
  EXPECT_EQ(38, settings.getInt("keys", "up", 0, 0, 255));
}

TEST_F(Settings, AMissingFileGivesTheDefaultsSilently) {
  SettingsFile settings;
  CaptureStderr();
  settings.load(path("none.ini"));
  EXPECT_EQ("", GetCapturedStderr());
  EXPECT_EQ(480, settings.getInt("display", "width", 480, 0, 10000));
}

TEST_F(Settings, ADamagedFileGivesTheDefaultsWithOneLine) {
  const char *damaged[] = {
      "[display]\nfullscreen = true\nthis line is no setting\n",
      "fullscreen = true\n",                         // a key outside any section
      "[display]\nfullscreen = true\n[]\n",          // an empty section name
      "[display]\n= true\n",                         // no key
      "[display]\nfullscreen = true\n\x89PNG\x01\n", // some other file's bytes
  };
  for (const char *text : damaged) {
    writeText(path("s.ini"), text);
    SettingsFile settings;
    CaptureStderr();
    settings.load(path("s.ini"));
    const std::string said = GetCapturedStderr();
    EXPECT_FALSE(settings.getBool("display", "fullscreen", false)) << text;
    EXPECT_NE(std::string::npos, said.find("damaged")) << text;
    EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
  }
}

TEST_F(Settings, OversizedAndUnreadableFilesGiveTheDefaults) {
  writeText(path("big.ini"),
            "[display]\nfullscreen = true\n" + std::string(SettingsFile::MAX_BYTES, '#') + "\n");
  std::filesystem::create_directory(path("dir.ini"));
  for (const char *name : {"big.ini", "dir.ini"}) {
    SettingsFile settings;
    CaptureStderr();
    settings.load(path(name));
    EXPECT_NE("", GetCapturedStderr()) << name;
    EXPECT_FALSE(settings.getBool("display", "fullscreen", false)) << name;
  }
}

TEST_F(Settings, BadValuesFallBackOneByOne) {
  writeText(path("s.ini"),
            "[display]\nwidth = wide\nheight = 99999\nfullscreen = yes\nscale = 3\nlight = 7x\n");
  SettingsFile settings;
  settings.load(path("s.ini"));
  CaptureStderr();
  EXPECT_EQ(480, settings.getInt("display", "width", 480, 1, 10000));
  EXPECT_EQ(480, settings.getInt("display", "height", 480, 1, 10000));
  EXPECT_EQ(5, settings.getInt("display", "light", 5, 0, 10));
  EXPECT_TRUE(settings.getBool("display", "fullscreen", true));
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(4, std::count(said.begin(), said.end(), '\n')) << said;
  EXPECT_EQ(3, settings.getInt("display", "scale", 0, 0, 10)); // the good value still counts
}

TEST_F(Settings, TheFileLivesInTheConfigFolder) {
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  EXPECT_EQ(folder + "/zyphora/zyphora.ini", settingsFilePath());
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/zyphora"));
  unsetenv("XDG_CONFIG_HOME");
  const std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", folder.c_str(), 1);
  EXPECT_EQ(folder + "/.config/zyphora/zyphora.ini", settingsFilePath());
  setenv("HOME", home.c_str(), 1);
}

TEST_F(Settings, TheGameKeepsOneCopyLoadedOnFirstUse) {
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  std::filesystem::create_directory(folder + "/zyphora");
  writeText(folder + "/zyphora/zyphora.ini", "[display]\nwidth = 960\n");
  SettingsFile &settings = desktopSettings();
  EXPECT_EQ(&settings, &desktopSettings());
  EXPECT_EQ(960, settings.getInt("display", "width", 480, 1, 10000));
  settings.setInt("display", "width", 1440);
  ASSERT_TRUE(saveDesktopSettings());
  SettingsFile again;
  again.load(folder + "/zyphora/zyphora.ini");
  EXPECT_EQ(1440, again.getInt("display", "width", 480, 1, 10000));
  unsetenv("XDG_CONFIG_HOME");
}
