// The command line: the five options, their precedence, and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace {

LaunchOptions parse(std::vector<const char *> args) {
  args.insert(args.begin(), "zyphora");
  return parseOptions(static_cast<int>(args.size()), args.data());
}

} // namespace

TEST(Options, NoArgumentsPlaysInAWindowWithTheEnvironmentsRenderer) {
  LaunchOptions options = parse({});
  EXPECT_EQ(LaunchOptions::PLAY, options.action);
  EXPECT_TRUE(options.windowed);
  EXPECT_EQ(nullptr, options.renderer);
}

TEST(Options, WindowModeTheLastGivenWins) {
  EXPECT_FALSE(parse({"--fullscreen"}).windowed);
  EXPECT_TRUE(parse({"--fullscreen", "--windowed"}).windowed);
  EXPECT_FALSE(parse({"--windowed", "--fullscreen"}).windowed);
}

TEST(Options, RendererNamesAsTheVariableSpellsThem) {
  EXPECT_STREQ("opengl", parse({"--renderer=opengl"}).renderer);
  EXPECT_STREQ("direct3d", parse({"--renderer=direct3d"}).renderer);
  EXPECT_STREQ("direct3d", parse({"--renderer=opengl", "--renderer=direct3d"}).renderer);
  LaunchOptions both = parse({"--fullscreen", "--renderer=opengl"});
  EXPECT_EQ(LaunchOptions::PLAY, both.action);
  EXPECT_FALSE(both.windowed);
  EXPECT_STREQ("opengl", both.renderer);
}

TEST(Options, HelpAndVersionWinOverTheOtherOptions) {
  EXPECT_EQ(LaunchOptions::HELP, parse({"--help"}).action);
  EXPECT_EQ(LaunchOptions::HELP, parse({"-h"}).action);
  EXPECT_EQ(LaunchOptions::HELP, parse({"--scale=integer", "-h"}).action);
  EXPECT_EQ(LaunchOptions::HELP, parse({"--fullscreen", "--help", "--version"}).action);
  EXPECT_EQ(LaunchOptions::VERSION, parse({"--version"}).action);
  EXPECT_EQ(LaunchOptions::VERSION, parse({"--renderer=opengl", "--version"}).action);
}

TEST(Options, AnythingElseIsRefusedAndNamed) {
  const std::vector<const char *> refused = {
      "--bogus",
      "-help",
      "fullscreen",
      "--renderer=",
      "--renderer=vulkan",
      "--renderer",
      "--renderer=OpenGL",
      "--help=1",
      "",
      "--fullscreenx",
  };
  for (const char *arg : refused) {
    LaunchOptions options = parse({"--fullscreen", arg, "--help"});
    EXPECT_EQ(LaunchOptions::REFUSE, options.action) << '"' << arg << '"';
    EXPECT_STREQ(arg, options.rejected);
  }
}

TEST(Options, ScaleAndWindowChoicesAreKeptForTheSettingsToYieldTo) {
  LaunchOptions none = parse({});
  EXPECT_EQ(nullptr, none.scale);
  EXPECT_FALSE(none.windowChosen);
  EXPECT_STREQ("integer", parse({"--scale=integer"}).scale);
  EXPECT_STREQ("sharp", parse({"--scale=integer", "--scale=sharp"}).scale);
  EXPECT_TRUE(parse({"--windowed"}).windowChosen);
  EXPECT_TRUE(parse({"--fullscreen"}).windowChosen);
  for (const char *arg : {"--scale=", "--scale=Sharp", "--scale", "--scale=smooth"})
    EXPECT_EQ(LaunchOptions::REFUSE, parse({arg}).action) << arg;
}

TEST(Options, AnUnknownValueIsToldWithTheNamesKnown) {
  std::string renderer = refusalText(parse({"--renderer=vulkan"}));
  EXPECT_EQ(0u, renderer.find(
                    "zyphora: unknown value 'vulkan' for --renderer=; known: direct3d, opengl\n"))
      << renderer;
  std::string scale = refusalText(parse({"--scale=blurry"}));
  EXPECT_EQ(0u, scale.find("zyphora: unknown value 'blurry' for --scale=; known: sharp, integer\n"))
      << scale;
  std::string other = refusalText(parse({"--bogus"}));
  EXPECT_EQ(0u, other.find("zyphora: unknown option '--bogus'\n")) << other;
  EXPECT_NE(std::string::npos, other.find(usageText())); // the usage follows
}

TEST(Options, UsageListsEveryOptionAndVersionNamesTheProgram) {
  std::string usage = usageText();
  for (const char *option :
       {"--fullscreen", "--windowed", "--renderer=direct3d|opengl", "--help", "-h",
        "--scale=sharp|integer", "zyphora.ini", "--version", "ZYPHORA_RENDERER"})
    EXPECT_NE(std::string::npos, usage.find(option)) << option;
  EXPECT_EQ('\n', usage.back());
  EXPECT_EQ("zyphora 1.0.0\n", std::string(versionText()));
}
