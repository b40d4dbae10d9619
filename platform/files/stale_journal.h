// Journals left beside a data file by transactions that are over (internal to platform/files).
//
// A transaction's rollback journal is "<file>.tps-journal". At a ROLLBACK, as at the recovery of a
// hot journal, SQLite reads the name of the transaction's super-journal from the *end of the
// journal file*, and when no super-journal of that name exists it takes the transaction for
// committed and skips the undo. It writes each new journal over an existing file from its start
// without shortening it, so a leftover longer than the new journal keeps its old end. When that end
// names a super-journal that is gone, as a multi-file commit stopped after its commit point leaves
// it, a later ROLLBACK undoes nothing: the change stays in the page cache and reaches the disk with
// the next commit. Two rules keep every transaction from ever reading such an end:
//
//   - Journal mode DELETE. Its recovery of a journal whose super-journal is gone (the transaction
//     committed, its journals were not finished) deletes the journal; PERSIST and TRUNCATE leave
//     that journal whole, header included, for the next transaction to write over (their finishing
//     step skips a journal the skipped undo never read). DELETE leaves no finished journal either.
//   - A journal whose first byte is zero is removed while the file's write lock is held: attaching
//     the file and beginning a transaction look for one. Such a journal is never hot:
//     SQLite writes the header's first byte only when the journal is synced, before any page of the
//     file changes, and PERSIST zeroes it when a transaction is over. With the write lock held,
//     nobody else is writing it. These leftovers come from PERSIST (which the program used before)
//     and from a program stopped before its journal was synced.
//
// A journal whose first byte is not zero is never touched: it may be hot, and SQLite rolls it back.
#pragma once

#include <QString>

namespace files::detail {

// Removes the journal of the data file at `dataPath` when it exists and its first byte is zero (or
// it is empty). The caller holds the file's write (RESERVED) lock or a stronger one.
void removeStaleJournal(const QString& dataPath);

// For a data file this process has not attached yet: when a journal lies beside it, takes the file's
// write lock for a moment on a connection of its own (which also rolls back a hot journal) and
// removes the journal if it is stale. Does nothing when another program holds the write lock: its
// journal is in use, and the journal is looked at again when this program's transactions begin.
void settleJournal(const QString& dataPath);

}  // namespace files::detail
