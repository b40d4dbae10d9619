// The referential-integrity routines: every change and deletion of a record that other files join
// to goes through them, so that the relations between the files always hold.
//
// RIDelete deletes the current record of a file (the buffer holds it, read by position) after the
// file's rules allow it: a restricting rule refuses while a record of another file refers to it
// (message 13 names that file); a cascading rule deletes the referring records too. RIUpdate
// rewrites the current record; restricting rules refuse a change of a joining field that other
// records use (message 12; the old value is put back into the buffer), cascading rules carry the new
// value into the referring records. Everything a routine writes is one transaction; any failure
// rolls it all back before its message is shown.
//
// Rules by file (the key used is the referring file's key led by the joining field):
//   Cantorix         delete refused while a playlist holds the song
//   Categories       delete refused while an album or a song uses it; a changed number is refused
//                    while albums use the old one, else songs follow it
//   Album            delete takes the songs of its file number, then those of its number (refused,
//                    whole, while a playlist holds one of them); songs follow a changed file number
//                    and a changed number
//   Media            delete refused while songs use the name; songs follow a changed name
//   PlaylistMaster   delete takes its entries
//   other files      plain delete and update
//
// The scans use the referring files' buffers (the songs buffer, or A_Songs for Album's rules):
// callers that need such a record afterwards read it again.
#pragma once

#include "platform/files/file.h"

enum class UpdateResult {
  Done,
  Failed,
  Reread,  // another station had changed the record; its current version is now in the buffer
};

bool RIDelete(files::File& file);
// `fromForm`: the caller is a form that can show the record again (message 38 rather than 15).
UpdateResult RIUpdate(files::File& file, bool fromForm);

// The waits for other stations when a routine frames its transaction.
inline constexpr int kIntegrityWaitMs = 2000;
