// The program from launch to the end of its first frame, and its peak resident memory.
// Each run starts build/bin/zyphora-scripted (beside this program: the game driven by a frame
// script) headless, with --quit-after-frames=N: after frame N is drawn the window is closed as a
// player closes it, so the time measured is launch + N frames + shut-down (an upper bound of the
// start-up for N = 1). The memory is the child's own ru_maxrss, read by wait4. The runs get a user
// folder of their own, so the player's preferences are neither read nor written.
//
//   bench_game_startup [runs] [session frames]     (defaults 5 and 600: ten seconds of menu)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
  double ms;     // launch to exit
  long maxRssKb; // the child's peak resident memory
  int status;
};

std::string programBeside(const char *name) {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? (size_t)n : 0);
  return path.substr(0, path.rfind('/') + 1) + name;
}

Run launch(const std::string &program, unsigned long frames) {
  auto t0 = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    std::string quit = "--quit-after-frames=" + std::to_string(frames);
    setenv("SDL_VIDEODRIVER", "dummy", 0); // the software Direct3D device, headless
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    execl(program.c_str(), program.c_str(), quit.c_str(), (char *)nullptr);
    _exit(127);
  }
  Run run{0, 0, -1};
  rusage usage{};
  if (child < 0 || wait4(child, &run.status, 0, &usage) != child) return run;
  run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  run.maxRssKb = usage.ru_maxrss; // kilobytes on Linux
  return run;
}

bool failed(const Run &run) { return !WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0; }

} // namespace

int main(int argc, char **argv) {
  int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  unsigned long session = argc > 2 ? strtoul(argv[2], nullptr, 10) : 600;
  std::string program = programBeside("zyphora-scripted");
  char folder[] = "/tmp/zyphora-bench-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  setenv("XDG_DATA_HOME", folder, 1);
  setenv("XDG_CONFIG_HOME", folder,
         1); // the runs write the display settings there, not in the user's

  std::vector<Run> starts;
  for (int i = 0; i < runs; i++) starts.push_back(launch(program, 1));
  Run longer = launch(program, session);
  std::filesystem::remove_all(folder);

  std::vector<double> ms;
  long rss = 0;
  for (const Run &run : starts) {
    ms.push_back(run.ms);
    rss = std::max(rss, run.maxRssKb);
  }
  std::sort(ms.begin(), ms.end());
  if (std::any_of(starts.begin(), starts.end(), failed) || failed(longer)) {
    fprintf(stderr, "%s did not end cleanly\n", program.c_str());
    return 1;
  }
  printf("launch to first frame and exit: median %.1f ms, best %.1f ms, worst %.1f ms (%d runs)\n",
         ms[ms.size() / 2], ms.front(), ms.back(), runs);
  printf("peak resident memory, 1 frame: %.1f MiB\n", rss / 1024.0);
  printf("peak resident memory, %lu frames (%.1f s at the 60 Hz cap): %.1f MiB\n", session,
         longer.ms / 1000, longer.maxRssKb / 1024.0);
  return 0;
}
