// Ending signals: SIGINT, SIGTERM and SIGHUP end the program as closing its windows does, so the
// game's own ending (and its save) runs whatever is on screen. The handler only notes the signal,
// the one thing that is safe inside it; the event pump then closes every window at its next turn
// (host_events.cpp), and a message box that is up is taken down (host_box.cpp).
#include <atomic>
#include <csignal>
#include <initializer_list>

#include "host_internal.h"

namespace {

// The ending signal caught, 0 for none. Any thread may take the signal and read the flag.
std::atomic<int> endSignal;
static_assert(std::atomic<int>::is_always_lock_free, "set inside a signal handler");

void noteEndSignal(int signal) { endSignal = signal; }

} // namespace

void hostCatchEndSignals() {
  struct sigaction action {};
  action.sa_handler = noteEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART; // the rest of the program never sees an interrupted call
  // Installed before SDL starts, these also keep SDL from putting its own on SIGINT and SIGTERM.
  // A signal ignored from the start stays ignored: `nohup zyphora` outlives its terminal.
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction inherited;
    if (sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

int hostEndSignal() { return endSignal; }

void hostForgetEndSignal() { endSignal = 0; }
