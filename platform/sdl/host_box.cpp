// Message boxes that an ending signal takes down. SDL's box blocks its thread until the player
// answers it (on X11 it waits for a child process that shows the box), so a signal would only be
// noted while the box stays up, for ever if no one is there to answer. The box therefore runs on
// a thread of its own while the caller waits for either the answer or an ending signal; on a
// signal the box's processes are ended and the caller goes on, to the close the pump delivers.
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

#include "host_internal.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto SIGNAL_CHECK = std::chrono::milliseconds(50);
constexpr auto ENDING_GRACE = std::chrono::seconds(2); // a box still up then is left behind

// One box, shared by the caller and the box's thread (which may outlive the caller's wait).
struct BoxRun {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  bool shown = false;
  pid_t thread = 0; // the box thread's id: the processes it starts are the box's
  std::string title, text;
  SDL_Window *owner;
};

void showOnItsThread(const std::shared_ptr<BoxRun> &run) {
  {
    std::lock_guard<std::mutex> hold(run->lock);
    run->thread = gettid();
    if (hostEndSignal()) run->done = true;
  }
  if (run->done) {
    run->finished.notify_all();
    return;
  }
  const bool shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, run->title.c_str(),
                                              run->text.c_str(), run->owner) == 0;
  {
    std::lock_guard<std::mutex> hold(run->lock);
    run->done = true;
    run->shown = shown;
  }
  run->finished.notify_all();
}

// Ends the child processes of a thread of this program (the process SDL shows the box from).
void endChildrenOf(pid_t thread) {
  char path[64];
  snprintf(path, sizeof path, "/proc/self/task/%d/children", static_cast<int>(thread));
  FILE *children = fopen(path, "r");
  if (!children) return;
  int pid;
  while (fscanf(children, "%d", &pid) == 1)
    if (pid > 0) kill(pid, SIGKILL);
  fclose(children);
}

} // namespace

bool hostShowBox(const char *title, const char *text, SDL_Window *owner) {
  if (hostEndSignal()) return false; // the program is ending: no one is waited for
  auto run = std::make_shared<BoxRun>();
  run->title = title ? title : "";
  run->text = text ? text : "";
  run->owner = owner;
  std::thread(showOnItsThread, run).detach();

  std::unique_lock<std::mutex> hold(run->lock);
  Clock::time_point giveUp = Clock::time_point::max();
  while (!run->done && Clock::now() < giveUp) {
    run->finished.wait_for(hold, SIGNAL_CHECK);
    if (run->done || !hostEndSignal()) continue;
    if (giveUp == Clock::time_point::max()) giveUp = Clock::now() + ENDING_GRACE;
    // Again at every check: the box's process may be started just after the signal.
    if (run->thread) endChildrenOf(run->thread);
  }
  return run->done && run->shown;
}
