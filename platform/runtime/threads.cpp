#include "platform/runtime/threads.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <deque>
#include <memory>
#include <vector>

#include "platform/files/held_buffers.h"

namespace rt {
namespace {

namespace ctx = boost::context;

struct Fiber {
  int number = 0;
  Procedure procedure;
  ctx::fiber self;    // where to resume the fiber (valid while it is suspended)
  ctx::fiber caller;  // where the fiber returns to (valid while it runs)
  bool finished = false;
  bool ready = false;
  std::vector<std::function<void()>> cleanups;
};

// Invariants: at most one fiber runs (`current`); a fiber is resumed only from the event loop's own
// stack (current == nullptr), so the stacks never nest; a finished fiber is destroyed by the event
// loop right after it returns.
class Scheduler {
 public:
  static Scheduler& instance() {
    static Scheduler s;
    return s;
  }

  int start(Procedure p, std::size_t stackBytes) {
    auto f = std::make_unique<Fiber>();
    f->number = ++lastNumber_;
    f->procedure = std::move(p);
    Fiber* raw = f.get();
    raw->self =
        ctx::fiber(std::allocator_arg, ctx::protected_fixedsize_stack(std::max(stackBytes, kMinimumStack)),
                   [raw](ctx::fiber&& caller) {
                     raw->caller = std::move(caller);
                     raw->procedure();
                     raw->finished = true;
                     return std::move(raw->caller);
                   });
    fibers_.emplace(raw->number, std::move(f));
    makeReady(raw);
    return raw->number;
  }

  Fiber* current() const { return current_; }
  bool anyReady() const { return !ready_.empty() || dispatchQueued_; }
  int liveCount() const { return int(fibers_.size()); }
  bool alive(int n) const { return fibers_.count(n) != 0; }

  void wait(const std::function<bool()>& condition) {
    Fiber* f = current_;
    Q_ASSERT_X(f, "rt::waitUntil", "called outside a program thread");
    if (!f) return;
    if (condition()) return;
    const files::HeldBuffers held = files::HeldBuffers::take();
    do {
      f->caller = std::move(f->caller).resume();
    } while (!condition());
    held.putBack();
  }

  void yieldOnce() {
    Fiber* f = current_;
    if (!f) return;
    const files::HeldBuffers held = files::HeldBuffers::take();
    makeReady(f);
    f->caller = std::move(f->caller).resume();
    held.putBack();
  }

  void wake(int n) {
    auto it = fibers_.find(n);
    if (it != fibers_.end()) makeReady(it->second.get());
  }

  void wakeAll() {
    for (auto& [n, f] : fibers_)
      makeReady(f.get());
  }

  void atEnd(int n, std::function<void()> cleanup) {
    auto it = fibers_.find(n);
    if (it != fibers_.end()) it->second->cleanups.push_back(std::move(cleanup));
  }

  void abandonAll() {
    Q_ASSERT(!current_);
    // Destroying a suspended fiber unwinds its stack inside it.
    while (!fibers_.empty()) {
      auto node = fibers_.extract(fibers_.begin());
      std::unique_ptr<Fiber> f = std::move(node.mapped());
      runCleanups(*f);
      f.reset();
    }
    ready_.clear();
  }

 private:
  void makeReady(Fiber* f) {
    if (f->ready || f->finished) return;
    f->ready = true;
    ready_.push_back(f->number);
    if (!dispatchQueued_) {
      dispatchQueued_ = true;
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [this] { runReady(); }, Qt::QueuedConnection);
    }
  }

  void runReady() {
    dispatchQueued_ = false;
    if (current_) {  // only reachable if some Qt call spun events inside a fiber; try again later
      dispatchQueued_ = true;
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [this] { runReady(); }, Qt::QueuedConnection);
      return;
    }
    std::deque<int> batch;
    batch.swap(ready_);
    for (int n : batch) {
      auto it = fibers_.find(n);
      if (it == fibers_.end()) continue;
      Fiber* f = it->second.get();
      f->ready = false;
      current_ = f;
      f->self = std::move(f->self).resume();
      current_ = nullptr;
      if (f->finished) finish(n);
    }
  }

  void finish(int n) {
    auto node = fibers_.extract(n);
    if (node.empty()) return;
    runCleanups(*node.mapped());
    node.mapped().reset();
    // Threads waiting for others to end look again.
    wakeAll();
  }

  static void runCleanups(Fiber& f) {
    for (auto& c : f.cleanups)
      c();
    f.cleanups.clear();
  }

  std::map<int, std::unique_ptr<Fiber>> fibers_;
  std::deque<int> ready_;
  Fiber* current_ = nullptr;
  int lastNumber_ = 0;
  bool dispatchQueued_ = false;
};

}  // namespace

int start(Procedure procedure, std::size_t stackBytes) {
  return Scheduler::instance().start(std::move(procedure), stackBytes);
}

int thread() {
  const Fiber* f = Scheduler::instance().current();
  return f ? f->number : 0;
}

bool isAlive(int n) {
  return Scheduler::instance().alive(n);
}
int liveThreads() {
  return Scheduler::instance().liveCount();
}
void waitUntil(const std::function<bool()>& condition) {
  Scheduler::instance().wait(condition);
}
void yield() {
  Scheduler::instance().yieldOnce();
}
void wake(int n) {
  Scheduler::instance().wake(n);
}
void wakeAll() {
  Scheduler::instance().wakeAll();
}
bool threadsReady() {
  return Scheduler::instance().anyReady();
}
void atThreadEnd(int n, std::function<void()> cleanup) {
  Scheduler::instance().atEnd(n, std::move(cleanup));
}
void abandonAll() {
  Scheduler::instance().abandonAll();
}

}  // namespace rt
