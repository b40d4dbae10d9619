#include "platform/files/held_buffers.h"

#include <map>

#include "platform/files/file_state.h"

namespace files {

namespace detail {

// Every File object alive, with the serial number it was given: an address can be reused by a
// later declaration, a serial never is.
std::map<File*, quint64>& liveFiles() {
  static auto* const files = new std::map<File*, quint64>;  // outlives files declared as globals
  return *files;
}

void registerFile(File* f, File::State& s) {
  static quint64 lastSerial = 0;
  s.serial = ++lastSerial;
  liveFiles()[f] = s.serial;
}

void unregisterFile(File* f) {
  liveFiles().erase(f);
}

}  // namespace detail

struct HeldBuffers::Held {
  File* file = nullptr;
  quint64 serial = 0;
  quint64 activity = 0;
  Record::Snapshot record;
  detail::Place place;
};

HeldBuffers::HeldBuffers() = default;
HeldBuffers::HeldBuffers(HeldBuffers&&) noexcept = default;
HeldBuffers& HeldBuffers::operator=(HeldBuffers&&) noexcept = default;
HeldBuffers::~HeldBuffers() = default;

HeldBuffers HeldBuffers::take() {
  HeldBuffers h;
  h.held_.reserve(detail::liveFiles().size());
  for (const auto& [f, serial] : detail::liveFiles()) {
    const File::State& s = *f->state_;
    h.held_.push_back({f, serial, s.activity, f->record().snapshot(), s});
  }
  return h;
}

void HeldBuffers::putBack() const {
  const auto& live = detail::liveFiles();
  for (const Held& h : held_) {
    const auto it = live.find(h.file);
    if (it == live.end() || it->second != h.serial) continue;
    File::State& s = *h.file->state_;
    const bool used = s.activity != h.activity;
    if (!used && h.file->record().equals(h.record)) continue;
    h.file->record().restore(h.record);
    static_cast<detail::Place&>(s) = h.place;
    if (used) s.ahead.clear();  // read ahead along someone else's sequence
  }
}

}  // namespace files
