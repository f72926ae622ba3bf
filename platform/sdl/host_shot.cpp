// F12: the next complete frame, before it is shown, is saved as a PNG in the user's pictures
// folder and its path printed. Asked for from the key messages and taken in the frame's
// completion, it works wherever the game flips: menu, game and pause alike.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "host_internal.h"
#include "host_shot.h"
#include "host_vk.h"

namespace {

HostScreenshotWriter writer;
bool asked;

std::string readFile(const std::string &path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The pictures folder, made if missing; "" when there is no home or it cannot be made.
std::string readyPicturesFolder() {
  const char *home = getenv("HOME");
  if (!home || home[0] != '/') return "";
  std::string folder =
      picturesFolder(readFile(userDirsFile(getenv("XDG_CONFIG_HOME"), home)), home);
  std::vector<char> path(folder.begin(), folder.end());
  path.push_back(0);
  return hostMakeFolders(path.data()) ? folder : "";
}

} // namespace

void hostSetScreenshotWriter(HostScreenshotWriter screenshotWriter) { writer = screenshotWriter; }

void hostWatchScreenshotKey(unsigned int message, unsigned int wParam, long lParam) {
  bool firstPress = !(lParam >> 30 & 1); // not the key's own repeat
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == VK_F12 && firstPress)
    asked = true;
}

void hostTakeAskedScreenshot() {
  bool wanted = asked;
  asked = false; // a press with nothing to save the frame is dropped, not kept for later
  if (!wanted || !writer) return;
  std::string folder = readyPicturesFolder();
  time_t now = time(nullptr);
  std::tm when{};
  localtime_r(&now, &when);
  std::string path = folder.empty() ? "" : claimScreenshotFile(folder, when);
  if (!path.empty() && writer(path.c_str())) {
    printf("%s\n", path.c_str());
    fflush(stdout);
    return;
  }
  if (!path.empty()) remove(path.c_str());
  fprintf(stderr, "zyphora: the screenshot could not be saved in %s\n",
          folder.empty() ? "the pictures folder" : folder.c_str());
}
