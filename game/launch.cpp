#include "launch.h"

#include <cstdio>
#include <cstdlib>

#include "KDataFolder.h"
#include "KMiscTools.h"
#include "host_testing.h"
#include "host_vk.h"
#include "options.h"
#include "session.h"
#include "zyphora.h"

namespace {

unsigned long quitAfterFrames, screenshotFrame;

// Frame hook: F12 is pressed for one frame at the frame asked for; once the frames asked for are
// drawn, the window is closed as a player closes it.
void runFrameScript(void *, unsigned long frame)
{
    HostInputFrame input{};
    input.mouseX = 300;  // the pointer rests by the menu's first item, not in the corner
    input.mouseY = 330;
    if (screenshotFrame > 0 && frame + 1 == screenshotFrame) {
        input.keys[input.keyCount++] = VK_F12;
        hostTestSetInput(input);
    } else if (screenshotFrame > 0 && frame == screenshotFrame) {
        hostTestSetInput(input);
    }
    if (quitAfterFrames > 0 && frame + 1 == quitAfterFrames) {
        input.closeRequest = true;
        hostTestSetInput(input);
    }
}

unsigned long frameFromEnvironment(const char *name)
{
    const char *frames = getenv(name);
    return frames ? strtoul(frames, nullptr, 10) : 0;
}

void readFrameScript()
{
    quitAfterFrames = frameFromEnvironment("ZYPHORA_QUIT_AFTER_FRAMES");
    screenshotFrame = frameFromEnvironment("ZYPHORA_SCREENSHOT_AFTER_FRAMES");
    if (quitAfterFrames > 0 || screenshotFrame > 0) hostTestSetFrameHook(runFrameScript, nullptr);
}

}  // namespace

std::string missingDataMessage(const KDataSearch &search)
{
    std::string text = "Zyphora cannot find its data (data/menu.tga). It looked in:\n";
    for (const char *folder : search.looked)
        if (folder[0]) text += std::string("  ") + folder + "\n";  // empty: not looked in
    text += "Reinstall the game, or run it from the folder it was built in.";
    return text;
}

int launchZyphora(int argc, char **argv)
{
    LaunchOptions options = parseOptions(argc, argv);
    switch (options.action) {
    case LaunchOptions::HELP: fputs(usageText(), stdout); return 0;
    case LaunchOptions::VERSION: fputs(versionText(), stdout); return 0;
    case LaunchOptions::REFUSE:
        fprintf(stderr, "zyphora: unknown option '%s'\n%s", options.rejected, usageText());
        return 2;
    case LaunchOptions::PLAY: break;
    }

    if (!startDesktopSession()) return 1;
    KDataSearch search = findDataFolder();
    if (search.found < 0) {
        KMiscTools::messageBox("Zyphora", missingDataMessage(search).c_str());
        return 1;
    }
    // The entry reads the renderer from the environment: the option takes its place there.
    if (options.renderer) setenv("ZYPHORA_RENDERER", options.renderer, 1);
    readFrameScript();
    return zyphoraMain(options.windowed);
}
