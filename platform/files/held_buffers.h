// What the declared files hold for the procedure that is running, kept across a wait.
//
// Every file has one record buffer, shared by all program threads, and one place: the record the
// buffer came from (with its change counter and watch) and the point next() and previous() go on
// from. Threads take turns only while one of them waits, and whatever the others read or write in
// the meantime lands in those shared buffers. A waiting thread therefore takes what the files hold
// before it lets the others run and puts it back before it goes on: a form's record, a report's
// sequence, the record a delete will remove are the ones the thread left, whichever windows ran
// meanwhile.
//
//   const files::HeldBuffers held = files::HeldBuffers::take();
//   ... other threads run ...
//   held.putBack();
//
// Only files that another thread used or whose buffer was changed are put back. A file destroyed
// in the meantime is skipped. Call from the GUI thread, like the rest of the driver.
#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

namespace files {

class File;

class HeldBuffers {
 public:
  static HeldBuffers take();
  void putBack() const;

  HeldBuffers(HeldBuffers&&) noexcept;
  HeldBuffers& operator=(HeldBuffers&&) noexcept;
  ~HeldBuffers();

 private:
  HeldBuffers();
  struct Held;
  std::vector<Held> held_;
};

}  // namespace files
