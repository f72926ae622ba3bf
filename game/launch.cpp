#include "launch.h"

#include <cstdio>
#include <cstdlib>

#include "KDataFolder.h"
#include "KMiscTools.h"
#include "host_testing.h"
#include "options.h"
#include "zyphora.h"

namespace {

unsigned long quitAfterFrames;

// Frame hook: once the frames asked for are drawn, the window is closed as a player closes it.
void closeWhenDone(void *, unsigned long frame)
{
    if (frame + 1 != quitAfterFrames) return;
    HostInputFrame closing{};
    closing.closeRequest = true;
    hostTestSetInput(closing);
}

void readQuitAfterFrames()
{
    const char *frames = getenv("ZYPHORA_QUIT_AFTER_FRAMES");
    quitAfterFrames = frames ? strtoul(frames, nullptr, 10) : 0;
    if (quitAfterFrames > 0) hostTestSetFrameHook(closeWhenDone, nullptr);
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

    KDataSearch search = findDataFolder();
    if (search.found < 0) {
        KMiscTools::messageBox("Zyphora", missingDataMessage(search).c_str());
        return 1;
    }
    // The entry reads the renderer from the environment: the option takes its place there.
    if (options.renderer) setenv("ZYPHORA_RENDERER", options.renderer, 1);
    readQuitAfterFrames();
    return zyphoraMain(options.windowed);
}
