// How a file declaration maps onto SQLite (internal to platform/files, shared with the repair tool).
//
// On-disk format of a data file (one SQLite database):
//
//   table data        _pos INTEGER PRIMARY KEY AUTOINCREMENT   the record's position, never reused
//                     _chg INTEGER                             change counter, +1 on every rewrite
//                     one column per field, memos last         TEXT COLLATE KVX or INTEGER, never NULL
//   index K_<key>     one per key, on its components; UNIQUE for unique keys; optional keys are partial
//                     indexes that leave out rows whose leading component is '' or 0
//   table _kvx_file   item/value pairs: kind, label, version, layout (see File::layout())
//   table _kvx_count  one row holding the number of records, kept by two triggers
#pragma once

#include <QString>
#include <QStringList>

namespace files {
class Field;
class File;
class Key;
}  // namespace files

namespace files::detail {

inline constexpr const char* kFileKind = "kvx98 data file";

QString quoted(const QString& identifier);
QString columnName(const Field& f);
QString indexName(const Key& k);
// "("A" <> '')" for an optional key led by the text A; empty for a key that holds every record.
QString membership(const Key& k);
QString layoutText(const File& f);
// Statements that create the file's tables, indexes and triggers in `schema`.
QStringList createStatements(const File& f, const QString& schema);
QString createIndexStatement(const Key& k, const QString& schema);
// "A", "B" DESC, _pos DESC — the order of a key (file order when `k` is null), either way.
QString orderBy(const Key* k, bool forward);
// ("A", "B") — the key's components as a row value.
QString rowValue(const Key& k);
// (?, ?, ?)
QString placeholders(int n);
// "_pos, _chg, "Artist", ..." — the columns a read fetches, in Record::all() order after the two.
QString selectColumns(const File& f);

}  // namespace files::detail
