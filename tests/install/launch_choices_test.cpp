// What reaches the entry as arguments: the renderer chosen from the option and the environment,
// and the scripted program's own options taken out before the game reads the rest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame_script.h"
#include "launch.h"

namespace {

struct RendererVariable {
  explicit RendererVariable(const char *value) {
    if (value)
      setenv("ZYPHORA_RENDERER", value, 1);
    else
      unsetenv("ZYPHORA_RENDERER");
  }
  ~RendererVariable() { unsetenv("ZYPHORA_RENDERER"); }
};

TEST(RendererChoice, TheOptionWinsThenTheVariableThenDirect3D) {
  {
    RendererVariable unset(nullptr);
    EXPECT_EQ(K_DIRECTX, chosenRenderer(nullptr));
    EXPECT_EQ(K_OPENGL, chosenRenderer("opengl"));
  }
  {
    RendererVariable opengl("opengl");
    EXPECT_EQ(K_OPENGL, chosenRenderer(nullptr));
    EXPECT_EQ(K_DIRECTX, chosenRenderer("direct3d"));
  }
  RendererVariable other("vulkan"); // a name the game does not know: the default
  EXPECT_EQ(K_DIRECTX, chosenRenderer(nullptr));
}

// A command line as main receives it, its strings owned by the test.
struct CommandLine {
  std::vector<std::string> words;
  std::vector<char *> argv;
  explicit CommandLine(std::vector<std::string> given) : words(std::move(given)) {
    for (std::string &word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
  }
  std::vector<char *> take(FrameScript *script) {
    return takeScriptOptions(static_cast<int>(words.size()), argv.data(), script);
  }
};

TEST(FrameScriptOptions, TakesItsCountsAndLeavesTheGamesOptionsInOrder) {
  CommandLine line({"zyphora-scripted", "--screenshot-after-frames=240", "--fullscreen",
                    "--quit-after-frames=245", "--renderer=opengl"});
  FrameScript script;
  std::vector<char *> rest = line.take(&script);
  EXPECT_EQ(240ul, script.screenshotFrame);
  EXPECT_EQ(245ul, script.quitAfterFrames);
  ASSERT_EQ(4u, rest.size());
  EXPECT_STREQ("zyphora-scripted", rest[0]);
  EXPECT_STREQ("--fullscreen", rest[1]);
  EXPECT_STREQ("--renderer=opengl", rest[2]);
  EXPECT_EQ(nullptr, rest[3]);
}

TEST(FrameScriptOptions, MalformedCountsAreLeftForTheGameToRefuse) {
  CommandLine line({"zyphora-scripted", "--quit-after-frames=", "--quit-after-frames=-3",
                    "--screenshot-after-frames=12x", "--quit-after-frames"});
  FrameScript script;
  std::vector<char *> rest = line.take(&script);
  EXPECT_EQ(0ul, script.quitAfterFrames);
  EXPECT_EQ(0ul, script.screenshotFrame);
  EXPECT_EQ(6u, rest.size()); // all five, and the end
  EXPECT_EQ(2,
            launchZyphora(static_cast<int>(rest.size()) - 1, rest.data())); // the game refuses them
}

} // namespace
