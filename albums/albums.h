// The albums subsystem's procedures, for the other subsystems.
#pragma once

// Reads the audio CD in the drive into the Album buffer (serial number, CDDB identifier, total time)
// and, unless `identifierOnly`, the track list and then the wizard rows (`forWizard`) or the current
// album's songs. False when the disc could not be read (the user has been told why).
bool ReadCompactDisc(bool identifierOnly, bool forWizard);
