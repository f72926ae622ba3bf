#include "zy_thread.h"

#include <chrono>
#include <functional>
#include <new>
#include <system_error>

namespace zy {

Thread *Thread::start(Body body, void *arg) {
  Thread *thread = new (std::nothrow) Thread;
  if (!thread) return nullptr;
  try {
    thread->_thread = std::thread(body, arg);
  } catch (const std::system_error &) {
    delete thread;
    return nullptr;
  }
  return thread;
}

Thread::~Thread() {
  // A thread that was never joined keeps running on its own rather than ending the process.
  if (_thread.joinable()) _thread.detach();
}

bool Thread::isCurrent() const { return _thread.get_id() == std::this_thread::get_id(); }

void Thread::join() {
  if (_thread.joinable() && !isCurrent()) _thread.join();
}

unsigned long Thread::id() const {
  return static_cast<unsigned long>(std::hash<std::thread::id>()(_thread.get_id()));
}

// Raising a thread above normal needs privileges on Linux; refill threads run at normal
// priority, which is enough for halves of ~93 ms.
void Thread::raisePriority() {}

void Event::set() {
  {
    std::lock_guard<std::mutex> lock(_mutex);
    _signalled = true;
  }
  _changed.notify_one();
}

bool Event::wait(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(_mutex);
  if (!_changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return _signalled; }))
    return false;
  _signalled = false;
  return true;
}

void sleepMs(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void yield() { std::this_thread::yield(); }

} // namespace zy
