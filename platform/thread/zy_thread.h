#ifndef ZY_THREAD_H
#define ZY_THREAD_H

// Threads and auto-reset events, in place of CreateThread, CreateEvent and WaitForSingleObject.
//   zy::Thread *t = zy::Thread::start(body, arg);   // nullptr when no thread could start
//   t->isCurrent();  t->join();  delete t;          // join before deleting
//   zy::Event e;  e.set();  e.wait(50);             // true when signalled; the wait clears it
//   zy::sleepMs(5);  zy::yield();

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zy {

class Thread {
public:
  typedef void (*Body)(void *arg);
  static Thread *start(Body body, void *arg);
  ~Thread();
  bool isCurrent() const;   // true when called from this thread
  void join();              // waits for the body to return (not from the thread itself)
  unsigned long id() const; // a number naming the thread, unique among live threads
  void raisePriority();     // one step above normal where the system lets us; else nothing

private:
  Thread() = default;
  std::thread _thread;
};

// An auto-reset event: set() wakes one wait, which clears the event again.
class Event {
public:
  void set();
  bool wait(unsigned milliseconds); // false on time-out

private:
  std::mutex _mutex;
  std::condition_variable _changed;
  bool _signalled = false;
};

void sleepMs(unsigned milliseconds);
void yield(); // gives up the rest of the time slice ("sleep 0")

} // namespace zy

#endif
