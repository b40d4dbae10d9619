// The track list of the last full CD read, in track order.
#pragma once

#include <QString>
#include <vector>

struct CdTrack {
  qint32 TrackNumber = 0;
  qint32 TrackTime = 0;  // a time value
  QString TrackArtist;   // left blank by the reader
  QString TrackTitle;
};

extern std::vector<CdTrack> CdTracks;
