// Sectioned settings files: "[Section]" lines and one "entry=value" line per entry.
//
// Every call reads or writes one entry and touches the file on disk, so several windows and several
// programs sharing a folder always see each other's latest values. Section and entry names match
// without regard to letter case and are used exactly as the caller spells them: nothing is escaped, so
// names such as "SRCF?Browse:1" work as they stand. Lines that are neither a section nor an entry are
// ignored when reading. Surrounding spaces are dropped and one pair of surrounding double quotes is
// removed when reading.
//
// Writing an entry changes that entry's line and nothing else: every other line keeps its bytes and
// each line its own end (CR LF, LF or CR); a new line takes the file's line end (LF in a new file).
// A file is read as UTF-8 when its bytes are UTF-8 (a byte-order mark is kept and not read as text)
// and as Windows-1252 otherwise, and written back in the same encoding, so that a file from an older
// Windows program stays one. Only a value with a character Windows-1252 has no byte for turns such
// a file into UTF-8, every line keeping its text.
//
// A relative file name is taken relative to the current working directory; "\" in a file name is read
// as "/", so ".\POSITION.INI" names POSITION.INI in the working directory.
//
// Failure handling: a missing or unreadable file reads as empty; a write that fails returns false and
// leaves the file as it was (files are replaced whole, never half-written). Call from the GUI thread.
#pragma once

#include <QString>

namespace settings {

// The value of `entry` in `section`, or `fallback` when the file, the section or the entry is missing.
QString read(const QString& file, const QString& section, const QString& entry,
             const QString& fallback = QString());

// Sets `entry` in `section` to `value`, adding the section and entry when they are missing.
bool write(const QString& file, const QString& section, const QString& entry, const QString& value);

// The settings file of the whole system: kvx98.ini in the user's configuration folder.
QString systemFile();

// A text read as a number: the longest leading decimal number ("12" -> 12, "1.8i" -> 1.8,
// " -3 " -> -3); text that does not start with a number, and empty text, read as 0.
double numberOf(const QString& text);
// numberOf() cut to a whole number, and 0 for anything outside the 64-bit range.
qint64 wholeNumberOf(const QString& text);

}  // namespace settings
