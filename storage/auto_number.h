// Numbering a new record when its insert begins.
//
// NumberAndAdd gives every numbered key of the file its number and adds the buffer's record at once:
// an identity key takes one above the highest number in the file (1 for an empty file); a key with
// leading components takes one above the highest among the records that agree with the buffer in
// those components (1 if there are none). When the add fails (another program took the number
// meanwhile) numbering starts again; after three failures in a row the user is asked whether to go
// on trying (message 25). The record added is the one the form then edits.
#pragma once

#include "platform/files/file.h"

// True when the record was numbered and added; false when the user gave up or a read failed (the
// reason has been shown). The buffer then holds the prepared record again.
bool NumberAndAdd(files::File& file);
