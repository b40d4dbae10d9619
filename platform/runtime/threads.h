// Program threads: cooperative fibers on the GUI thread.
//
// A program thread runs one procedure on a stack of its own. Threads take turns: exactly one runs
// program code at a time, and control passes only when the running thread waits (for the next event
// of a window, for a message box to be answered, ...). The Qt event loop is the scheduler: a thread
// that is woken runs again from the event loop, never from inside another thread, and no nested event
// loop is ever started. Because nothing runs in parallel, program code needs no locks.
//
//   int n = rt::start([] { BrowseSongs(); });   // runs when the caller next waits
//
// Thread numbers start at 1 and are never reused in a process. 0 means "outside every program
// thread" (the event loop itself, or a test driving the program from outside).
//
// Waiting: a thread calls waitUntil(condition); whoever changes what the condition looks at calls
// wake(thread) (or wakeAll()). A thread woken while its condition is still false waits again.
//
// Every wait keeps the thread's records: what the files' shared buffers held when the thread began
// to wait is put back before it goes on (see platform/files/held_buffers.h), so no window, message
// box, list or process another thread runs meanwhile can leave the waiting procedure another record.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <map>

namespace rt {

using Procedure = std::function<void()>;

// Stack given to a thread when the caller names none or a smaller one. Qt's widget code needs far
// more than the notional 25,000 bytes a procedure asks for.
inline constexpr std::size_t kMinimumStack = 2u << 20;

int start(Procedure procedure, std::size_t stackBytes = 0);
// The running program thread, or 0.
int thread();
bool isAlive(int thread);
// Number of program threads that have not ended.
int liveThreads();

// Suspends the running thread until `condition` holds. Must be called on a program thread.
void waitUntil(const std::function<bool()>& condition);
// Lets other threads and the event loop run once, then continues.
void yield();
// Makes a waiting thread look at its condition again (from the event loop or from another thread).
void wake(int thread);
void wakeAll();

// Whether some thread has been woken and waits for its turn.
bool threadsReady();

// Runs `cleanup` when the thread ends (for values kept per thread).
void atThreadEnd(int thread, std::function<void()> cleanup);

// Ends every thread that is still waiting, unwinding its stack (destructors run; the rest of its
// procedure does not). For the end of the program and for tests; must be called outside any thread.
void abandonAll();

// A value kept separately for each program thread, created on first use and dropped when the
// thread ends.
template <typename T>
class ThreadLocal {
 public:
  T& get() {
    const int n = thread();
    auto it = values_.find(n);
    if (it == values_.end()) {
      it = values_.emplace(n, T{}).first;
      if (n != 0) atThreadEnd(n, [this, n] { values_.erase(n); });
    }
    return it->second;
  }
  T& operator*() { return get(); }
  T* operator->() { return &get(); }

 private:
  std::map<int, T> values_;
};

}  // namespace rt
