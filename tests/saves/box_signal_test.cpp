// A real SDL message box on the X display, up when an ending signal arrives: the box is taken
// down, its text still reaches standard error, and the caller goes on to end the program. Once
// the program is ending no new box is shown. SDL shows an X11 box from a child process, which
// is how the test sees that the box is up and that it is gone.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

#include "host.h"

namespace {

using namespace std::chrono;

// Child processes of every thread of this program.
int childProcesses() {
  int count = 0;
  for (const auto &task : std::filesystem::directory_iterator("/proc/self/task")) {
    FILE *children = fopen((task.path() / "children").c_str(), "r");
    if (!children) continue;
    int pid;
    while (fscanf(children, "%d", &pid) == 1) count++;
    fclose(children);
  }
  return count;
}

} // namespace

TEST(BoxSignal, AnEndingSignalTakesTheBoxDownAndNoNewBoxIsShown) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
  unsetenv("SDL_VIDEODRIVER");
  hostCatchEndSignals();

  std::atomic<int> boxProcesses{0};
  steady_clock::time_point signalled;
  std::thread signaller([&] {
    const auto giveUp = steady_clock::now() + seconds(20);
    while (boxProcesses == 0 && steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(milliseconds(20));
      boxProcesses = childProcesses();
    }
    std::this_thread::sleep_for(milliseconds(300)); // up, and no one answers it
    signalled = steady_clock::now();
    kill(getpid(), SIGTERM);
  });
  testing::internal::CaptureStderr();
  hostMessageBox("error", "a box no one answers");
  const auto returned = steady_clock::now();
  std::string said = testing::internal::GetCapturedStderr();
  signaller.join();

  ASSERT_GT(boxProcesses, 0) << "the box was never up: " << said;
  EXPECT_EQ(SIGTERM, hostEndSignal());
  EXPECT_LT(returned - signalled, seconds(1)); // it returned on the signal
  EXPECT_EQ(0, childProcesses()) << "the box's process is gone";
  EXPECT_NE(std::string::npos, said.find("a box no one answers")) << said;

  testing::internal::CaptureStderr();
  const auto before = steady_clock::now();
  hostMessageBox("error", "after the end");
  said = testing::internal::GetCapturedStderr();
  EXPECT_LT(steady_clock::now() - before, milliseconds(500));
  EXPECT_NE(std::string::npos, said.find("after the end")) << said;
  EXPECT_EQ(0, childProcesses());
}
