#include "platform/cdaudio/disc_times.h"

#include <algorithm>

namespace cdaudio {
namespace {

constexpr int kFramesPerSecond = 75;
// Between the sessions of an enhanced CD lie the first session's lead-out (6750 frames), the second's
// lead-in (4500) and the data track's pregap (150); the table of contents counts them into the last
// audio track unless they are taken off.
constexpr int kSessionGap = 6750 + 4500 + 150;

}  // namespace

int trackFrames(const Toc& toc, int track) {
  const Toc::Track& t = toc.tracks[track - 1];
  int end = toc.leadOut - 1;
  if (track < int(toc.tracks.size())) {
    const Toc::Track& next = toc.tracks[track];
    end = next.start;
    if (!t.data && next.data) end -= kSessionGap;
  }
  return std::max(0, end - t.start);
}

int discFrames(const Toc& toc) {
  return std::max(0, toc.leadOut - toc.tracks.front().start);
}

QString msf(int frames) {
  const int seconds = frames / kFramesPerSecond;
  return QString::asprintf("%02d:%02d:%02d", seconds / 60, seconds % 60, frames % kFramesPerSecond);
}

QString tmsf(int track, int frames) {
  return QString::asprintf("%02d:", track) + msf(frames);
}

}  // namespace cdaudio
