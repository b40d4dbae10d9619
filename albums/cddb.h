// The CDDB disc identifier, from the table of track positions and lengths the last CD read made.
#pragma once

#include <QString>
#include <optional>
#include <vector>

// One track of the disc, in frames (1/75 s); positions count from the start of the lead-in.
struct CddbRow {
  quint32 TrackPosition = 0;
  quint32 TrackLength = 0;
};

// The position table of the running thread: filled by each CD read on it, kept until the next.
std::vector<CddbRow>& CdPositionTable();

struct CddbIdentifier {
  QString id;                       // 8 lowercase hexadecimal digits; empty without tracks
  std::optional<qint32> totalTime;  // the disc's playing time in whole seconds, as a time in hundredths
};

// (digit sum of the tracks' start seconds mod 255) << 24 | playing seconds << 8 | tracks, the
// identifier freedb knows the disc by.
CddbIdentifier ComputeCddbIdentifier(const std::vector<CddbRow>& rows);
