#include "launch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "KDataFolder.h"
#include "KMiscTools.h"
#include "display_settings.h"
#include "options.h"
#include "session.h"
#include "settings_file.h"
#include "zyphora.h"

Erenderer chosenRenderer(const char *option) {
  const char *name = option ? option : getenv("ZYPHORA_RENDERER");
  return name && strcmp(name, "opengl") == 0 ? K_OPENGL : K_DIRECTX;
}

std::string missingDataMessage(const KDataSearch &search) {
  std::string text = "Zyphora cannot find its data (data/menu.tga). It looked in:\n";
  for (const char *folder : search.looked)
    if (folder[0]) text += std::string("  ") + folder + "\n"; // empty: not looked in
  text += "Reinstall the game, or run it from the folder it was built in.";
  return text;
}

int launchZyphora(int argc, char **argv) {
  LaunchOptions options = parseOptions(argc, argv);
  switch (options.action) {
  case LaunchOptions::HELP: fputs(usageText(), stdout); return 0;
  case LaunchOptions::VERSION: fputs(versionText(), stdout); return 0;
  case LaunchOptions::REFUSE: fputs(refusalText(options).c_str(), stderr); return 2;
  case LaunchOptions::PLAY: break;
  }

  if (!startDesktopSession()) return 1;
  KDataSearch search = findDataFolder();
  if (search.found < 0) {
    KMiscTools::messageBox("Zyphora", missingDataMessage(search).c_str());
    return 1;
  }
  applyDisplaySettings(options, desktopSettings());
  EntryChoices choices;
  choices.windowed = options.windowed;
  choices.renderer = chosenRenderer(options.renderer);
  return zyphoraMain(choices);
}
