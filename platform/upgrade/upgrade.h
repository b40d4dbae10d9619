// The file-structure upgrade pack: the program announces its files and their structure versions at
// start-up, and the pack converts a file whose stored layout is older than its declaration and makes
// empty example files for the repair utility.
//
// All calls are made from the GUI thread. Announcing is done once per process, before any file is
// opened; announcing a file again replaces the earlier announcement.
#pragma once

#include <QString>

#include "platform/files/file.h"

namespace upgrade {

// The indexed-file driver, by its file extension ("Tps"), with a one-field file declared on it.
void ds_AddDriver(const QString& extension, files::File& sample);
// Options of the pack; "AllFiles" with 1 asks it to consider every announced file. This pack has
// one driver and always considers every announced file, so options are accepted as they come.
void ds_IgnoreDriver(const QString& option, int value);
void ds_UsingFile(const QString& prefix, const QString& label, files::File& file, int version);

// Converts the file, when it is one of ours made for this file (its stored label is the announced
// one) with an older (or the same) structure version and a layout other than the declared one,
// keeping every record. Nothing else is touched: a missing file, a file that is not ours or is
// unreadable, a file made for another label, and a file of a newer version are left as they are.
// Whether the upgrade worked is judged by opening the file afterwards.
void ds_UpGradeFile(files::File& file);
// Whether the file on disk is a data file of ours made for another file (another label): to this
// file it is unreadable, never an older layout of it.
bool holdsAnotherFile(files::File& file);

// Writes the example file "<name>.tpe" beside the data file: its declared layout, empty. Returns "1"
// when the file was never announced, "2" when it is not a file of the announced driver, "3" when
// creating the example failed (lastError() tells why), and "0" when the example exists.
QString ds_MakeTPE(files::File& file);
files::Status lastError();

}  // namespace upgrade
