// Dying in the middle of the engine's work: a VFS wrapped around SQLite's default one that kills the
// process (SIGKILL, as a power cut or a crash would stop it) just before its n-th change to a file
// of any connection: a write, a truncation, a sync, a journal created, a file deleted. The kill trials
// (kill_trials.cpp) use it to stop a station at every kind of moment inside a commit or a recovery.
#pragma once

namespace bench {

// Installs the VFS as the default; call before the first connection is opened. n > 0.
void dieAtFileChange(long n);

}  // namespace bench
