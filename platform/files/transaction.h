// Transactions over several files.
//
// A transaction covers every file the program has open: all its writes commit together or not at all,
// also when the program or the machine stops in the middle (the connection's super-journal makes the
// commit atomic across the files). Only one transaction runs at a time in the program.
//
//   if (Status s = files::beginTransaction(2000, {&Album, &Songs}); !s) ...   // waits up to 2 s
//   ... writes ...
//   files::commit();   // or files::rollback()
#pragma once

#include <initializer_list>

#include "platform/files/status.h"

namespace files {

class File;

// Every file named must be open (kFileNotOpen otherwise). Fails with kFileLocked when another program
// holds the files past `waitMs`, and with kTransactionActive when a transaction is running already.
Status beginTransaction(int waitMs, std::initializer_list<File*> files);
Status commit();  // a failed commit rolls back
void rollback();
bool inTransaction();

}  // namespace files
