// The display settings: the [display] section read and written, the command line over it at
// launch, and the window's state written when the game's window closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ScriptedGame.h"
#include "display_settings.h"
#include "host_testing.h"
#include "options.h"
#include "settings_file.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

std::string readText(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

SettingsFile loaded(const std::string &file) {
  SettingsFile settings;
  settings.load(file);
  return settings;
}

LaunchOptions parse(std::vector<const char *> args) {
  args.insert(args.begin(), "zyphora");
  return parseOptions(static_cast<int>(args.size()), args.data());
}

struct DisplaySettingsTest : ::testing::Test {
  std::string folder = makeFolder();
  static std::string makeFolder() {
    char pattern[] = "/tmp/zyphora-display-XXXXXX";
    return mkdtemp(pattern);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    hostTestReset();
  }
};

TEST_F(DisplaySettingsTest, RoundTripThroughTheFile) {
  SettingsFile file;
  DisplaySettings chosen;
  chosen.fullscreen = true;
  chosen.width = 1000;
  chosen.height = 700;
  chosen.scaling = HOST_SCALE_INTEGER;
  writeDisplaySettings(file, chosen);
  ASSERT_TRUE(file.save(folder + "/zyphora.ini"));
  EXPECT_NE(std::string::npos, readText(folder + "/zyphora.ini")
                                   .find("[display]\nfullscreen = true\n"
                                         "height = 700\nscale = integer\nwidth = 1000\n"));
  CaptureStderr();
  DisplaySettings read = readDisplaySettings(loaded(folder + "/zyphora.ini"));
  EXPECT_EQ("", GetCapturedStderr());
  EXPECT_TRUE(read.fullscreen);
  EXPECT_EQ(1000, read.width);
  EXPECT_EQ(700, read.height);
  EXPECT_EQ(HOST_SCALE_INTEGER, read.scaling);
}

TEST_F(DisplaySettingsTest, BadOrMissingValuesFallBackToTheDefaultsSayingSo) {
  const DisplaySettings defaults;
  DisplaySettings empty = readDisplaySettings(SettingsFile());
  EXPECT_EQ(defaults.fullscreen, empty.fullscreen);
  EXPECT_EQ(0, empty.width);
  EXPECT_EQ(HOST_SCALE_SHARP, empty.scaling);

  std::ofstream(folder + "/bad.ini")
      << "[display]\nfullscreen = maybe\nwidth = 5\nheight = 600\nscale = blurry\n";
  SettingsFile bad = loaded(folder + "/bad.ini");
  CaptureStderr();
  DisplaySettings read = readDisplaySettings(bad);
  std::string said = GetCapturedStderr();
  EXPECT_FALSE(read.fullscreen);
  EXPECT_EQ(0, read.width); // one side bad: no size at all
  EXPECT_EQ(0, read.height);
  EXPECT_EQ(HOST_SCALE_SHARP, read.scaling);
  for (const char *value : {"maybe", "width = 5", "blurry"})
    EXPECT_NE(std::string::npos, said.find(value)) << said;

  std::ofstream(folder + "/damaged.ini") << "[display\nfullscreen = true\n";
  CaptureStderr();
  DisplaySettings damaged = readDisplaySettings(loaded(folder + "/damaged.ini"));
  EXPECT_NE("", GetCapturedStderr());
  EXPECT_FALSE(damaged.fullscreen);
}

TEST_F(DisplaySettingsTest, TheCommandLineOverridesTheFileForTheRun) {
  SettingsFile file;
  file.set("display", "fullscreen", "true");
  file.set("display", "scale", "integer");

  LaunchOptions plain = parse({});
  applyDisplaySettings(plain, file);
  EXPECT_FALSE(plain.windowed);
  EXPECT_EQ(HOST_SCALE_INTEGER, hostScaling());

  LaunchOptions over = parse({"--windowed", "--scale=sharp"});
  applyDisplaySettings(over, file);
  EXPECT_TRUE(over.windowed);
  EXPECT_EQ(HOST_SCALE_SHARP, hostScaling());

  LaunchOptions none = parse({"--fullscreen"});
  applyDisplaySettings(none, SettingsFile());
  EXPECT_FALSE(none.windowed);
}

TEST(DisplaySettingsGame, FullScreenChosenDuringTheRunAndTheWindowSizeAreWrittenAtClose) {
  ScriptedGame game;
  const std::string settings = game.userFolder() + "/zyphora/zyphora.ini";
  LaunchOptions options = parse({});
  applyDisplaySettings(options, SettingsFile()); // the run starts in a window
  game.onFrame = [&](unsigned long frame) {
    if (frame == 5) game.setInput({{VK_F11}});
    if (frame == 6) game.setInput({});
    if (frame == 10) game.setInput(Input::closing());
  };
  ASSERT_EQ(0, game.runMain());
  DisplaySettings written = readDisplaySettings(loaded(settings));
  EXPECT_TRUE(written.fullscreen);
  EXPECT_EQ(480, written.width); // the window's size, kept for leaving full screen
  EXPECT_EQ(480, written.height);
  EXPECT_EQ(HOST_SCALE_SHARP, written.scaling);
}

} // namespace
