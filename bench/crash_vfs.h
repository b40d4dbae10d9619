// Dying in the middle of the engine's work: a VFS wrapped around SQLite's default one that kills the
// process (SIGKILL, as a power cut or a crash would stop it) just before its n-th step that orders
// the work on the files, in any connection: a sync, a truncation, a journal created, a file
// deleted. The writes between two such steps are not counted (a kill at a random time lands among
// them): counting only the steps makes every moment of a commit or a recovery about as likely as
// the next, the few between a multi-file commit's commit point and its journals' finishing among
// them. The kill trials (kill_trials.cpp) use it.
#pragma once

namespace bench {

// Installs the VFS as the default; call before the first connection is opened. n > 0.
void dieAtStep(long n);

}  // namespace bench
