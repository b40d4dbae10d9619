// Opening and closing the database files: open counts, the standard open and the crash marker.
//
// Every file (the alias A_Songs too) has one open count shared by all threads. A procedure opens the
// files it needs on entry with OpenFile, which opens the file only when the count is 0 and then adds
// one, and closes them on exit with CloseFile, which closes the file when the count goes from 1 to 0.
//
// The standard open creates a missing file empty, reports failures with the numbered messages and
// ends the program when a file cannot be used. While an open is in progress the crash marker (entry
// "BadFile" of section "kvx98" in the system-wide settings file) names the file, so that a run which
// dies inside an open is noticed at the next start.
#pragma once

#include <QString>

#include "platform/files/file.h"

// Returns true with the file open. On failure the program ends after a message, unless `silent`, in
// which case the result is false and nothing is shown.
bool OpenFile(files::File& file, bool mayCreate = true, bool silent = false,
              files::Access access = files::Access::Shared);
void CloseFile(files::File& file);
int OpenCount(const files::File& file);

// The crash marker: the name of the file an unfinished open was working on, or empty.
QString CrashMarker();
void SetCrashMarker(const QString& fileName);
