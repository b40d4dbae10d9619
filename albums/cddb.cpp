#include "albums/cddb.h"

#include "platform/runtime/threads.h"

namespace {

constexpr quint32 kFramesPerSecond = 75;

// Whole seconds of a frame count (minutes × 60 + seconds of its mm:ss:ff).
quint32 seconds(quint32 frames) {
  return frames / kFramesPerSecond;
}

quint32 digitSum(quint32 n) {
  quint32 sum = 0;
  for (; n > 0; n /= 10)
    sum += n % 10;
  return sum;
}

}  // namespace

std::vector<CddbRow>& CdPositionTable() {
  static rt::ThreadLocal<std::vector<CddbRow>> table;
  return table.get();
}

CddbIdentifier ComputeCddbIdentifier(const std::vector<CddbRow>& rows) {
  if (rows.empty()) return {};
  quint32 n = 0;
  for (const CddbRow& r : rows)
    n += digitSum(seconds(r.TrackPosition));
  // The playing time runs from the first track to the lead-out, which is one frame after the end of
  // the last track. Its seconds are taken from the lead-out's frames as a whole: the last track's
  // start and length rounded down apart would lose a second whenever their frames add up past one.
  const quint32 leadOut = rows.back().TrackPosition + rows.back().TrackLength + 1;
  const quint32 t = seconds(leadOut) - seconds(rows.front().TrackPosition);
  const quint32 id = (n % 255) * (1u << 24) + t * (1u << 8) + quint32(rows.size());
  return {QString::number(id, 16).rightJustified(8, '0'), qint32(t * 100)};
}
