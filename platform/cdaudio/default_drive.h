// The drive the device falls back on when none is installed.
#pragma once

#include <memory>

#include "platform/cdaudio/cdaudio.h"

namespace cdaudio {

// The script KVX_CDAUDIO_SCRIPT names, else the system's first CD drive, else null. A script that
// cannot be read or parsed gives null, not the system drive: whoever set the variable meant the
// script, and says why it was refused on stderr.
std::unique_ptr<Drive> defaultDrive();

}  // namespace cdaudio
