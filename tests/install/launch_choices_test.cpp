// What reaches the entry as arguments: the renderer chosen from the option and the environment,
// and the scripted program's own options taken out before the game reads the rest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "frame_script.h"
#include "launch.h"

namespace {

struct RendererVariable {
    explicit RendererVariable(const char *value)
    {
        if (value) setenv("ZYPHORA_RENDERER", value, 1);
        else unsetenv("ZYPHORA_RENDERER");
    }
    ~RendererVariable() { unsetenv("ZYPHORA_RENDERER"); }
};

TEST(RendererChoice, TheOptionWinsThenTheVariableThenDirect3D)
{
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
    RendererVariable other("vulkan");  // a name the game does not know: the default
    EXPECT_EQ(K_DIRECTX, chosenRenderer(nullptr));
}

TEST(FrameScriptOptions, TakesItsCountsAndLeavesTheGamesOptionsInOrder)
{
    char name[] = "zyphora-scripted", shot[] = "--screenshot-after-frames=240", full[] = "--fullscreen",
         quit[] = "--quit-after-frames=245", gl[] = "--renderer=opengl";
    char *argv[] = {name, shot, full, quit, gl, nullptr};
    FrameScript script;
    std::vector<char *> rest = takeScriptOptions(5, argv, &script);
    EXPECT_EQ(240ul, script.screenshotFrame);
    EXPECT_EQ(245ul, script.quitAfterFrames);
    ASSERT_EQ(4u, rest.size());
    EXPECT_STREQ("zyphora-scripted", rest[0]);
    EXPECT_STREQ("--fullscreen", rest[1]);
    EXPECT_STREQ("--renderer=opengl", rest[2]);
    EXPECT_EQ(nullptr, rest[3]);
}

TEST(FrameScriptOptions, MalformedCountsAreLeftForTheGameToRefuse)
{
    char name[] = "zyphora-scripted", empty[] = "--quit-after-frames=", negative[] = "--quit-after-frames=-3",
         letters[] = "--screenshot-after-frames=12x", bare[] = "--quit-after-frames";
    char *argv[] = {name, empty, negative, letters, bare, nullptr};
    FrameScript script;
    std::vector<char *> rest = takeScriptOptions(5, argv, &script);
    EXPECT_EQ(0ul, script.quitAfterFrames);
    EXPECT_EQ(0ul, script.screenshotFrame);
    EXPECT_EQ(6u, rest.size());  // all five, and the end
    EXPECT_EQ(2, launchZyphora(static_cast<int>(rest.size()) - 1, rest.data()));  // the game refuses them
}

}  // namespace
