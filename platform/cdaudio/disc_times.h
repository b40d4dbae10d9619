// Playing times and positions read off a table of contents, and their text forms.
#pragma once

#include <QString>

#include "platform/cdaudio/cdaudio.h"

namespace cdaudio {

// Frames track `track` (1-based, one of toc.tracks) plays for.
int trackFrames(const Toc& toc, int track);
// Frames from the first track's start to the lead-out; toc.tracks is not empty.
int discFrames(const Toc& toc);

// "mm:ss:ff"; the minutes go past 59 rather than into hours.
QString msf(int frames);
// "tt:mm:ss:ff": `frames` into track `track`.
QString tmsf(int track, int frames);

}  // namespace cdaudio
