#include "platform/files/layout.h"

#include "platform/files/collation.h"
#include "platform/files/file.h"

namespace files::detail {

QString quoted(const QString& identifier) {
  QString q = identifier;
  q.replace('"', "\"\"");
  return '"' + q + '"';
}

QString columnName(const Field& f) {
  return quoted(f.name());
}

QString indexName(const Key& k) {
  return quoted("K_" + k.name());
}

QString membership(const Key& k) {
  if (!k.isOptional() || k.components().empty()) return QString();
  const Field& lead = *k.components().front();
  return "(" + columnName(lead) + (lead.isText() ? " <> '')" : " <> 0)");
}

static QString typeCode(const Field& f) {
  switch (f.type()) {
    case FieldType::String:
      return QString("S%1").arg(f.width());
    case FieldType::Memo:
      return QString("M%1").arg(f.width());
    case FieldType::Byte:
      return "B";
    case FieldType::Long:
      return "L";
    case FieldType::Decimal:
      return QString("D%1").arg(f.width());
  }
  return "?";
}

QString layoutText(const File& f) {
  QStringList fields;
  for (const Field* x : f.record().all())
    fields << x->name() + " " + typeCode(*x);
  QStringList keys;
  for (const Key* k : f.keys()) {
    QStringList comps;
    for (const Field* c : k->components())
      comps << c->name();
    QString attrs;
    if (k->isUnique()) attrs += 'U';
    if (k->isOptional()) attrs += 'O';
    keys << k->name() + (attrs.isEmpty() ? "" : " " + attrs) + "(" + comps.join(',') + ")";
  }
  return "fields:" + fields.join(',') + ";keys:" + keys.join(',');
}

QString createIndexStatement(const Key& k, const QString& schema) {
  QStringList comps;
  for (const Field* c : k.components())
    comps << columnName(*c);
  QString sql = QString("CREATE %1INDEX %2.%3 ON data(%4)")
                    .arg(k.isUnique() ? "UNIQUE " : "", schema, indexName(k), comps.join(", "));
  const QString where = membership(k);
  if (!where.isEmpty()) sql += " WHERE " + where;
  return sql;
}

QStringList createStatements(const File& f, const QString& schema) {
  QStringList columns{"_pos INTEGER PRIMARY KEY AUTOINCREMENT", "_chg INTEGER NOT NULL DEFAULT 0"};
  for (const Field* x : f.record().all()) {
    columns << columnName(*x) + (x->isText()
                                     ? QString(" TEXT NOT NULL DEFAULT '' COLLATE %1").arg(kCollationName)
                                     : QString(" INTEGER NOT NULL DEFAULT 0"));
  }
  QStringList sql;
  sql << QString("CREATE TABLE %1.data(%2)").arg(schema, columns.join(", "));
  for (const Key* k : f.keys())
    sql << createIndexStatement(*k, schema);
  sql << QString("CREATE TABLE %1._kvx_file(item TEXT PRIMARY KEY, value TEXT NOT NULL)").arg(schema);
  const auto meta = [&](const QString& item, const QString& value) {
    QString v = value;
    v.replace('\'', "''");
    sql << QString("INSERT INTO %1._kvx_file VALUES('%2', '%3')").arg(schema, item, v);
  };
  meta("kind", kFileKind);
  meta("label", f.label());
  meta("version", QString::number(f.version()));
  meta("layout", layoutText(f));
  sql << QString("CREATE TABLE %1._kvx_count(n INTEGER NOT NULL)").arg(schema);
  sql << QString("INSERT INTO %1._kvx_count VALUES(0)").arg(schema);
  sql << QString(
             "CREATE TRIGGER %1.count_added AFTER INSERT ON data BEGIN UPDATE _kvx_count SET n = n + 1; END")
             .arg(schema);
  sql << QString(
             "CREATE TRIGGER %1.count_deleted AFTER DELETE ON data BEGIN UPDATE _kvx_count SET n = n - 1; "
             "END")
             .arg(schema);
  return sql;
}

QString orderBy(const Key* k, bool forward) {
  QStringList cols;
  const char* dir = forward ? "" : " DESC";
  if (k)
    for (const Field* c : k->components())
      cols << columnName(*c) + dir;
  cols << QString("_pos") + dir;
  return cols.join(", ");
}

QString rowValue(const Key& k) {
  QStringList cols;
  for (const Field* c : k.components())
    cols << columnName(*c);
  return "(" + cols.join(", ") + ")";
}

QString placeholders(int n) {
  QStringList p;
  for (int i = 0; i < n; ++i)
    p << "?";
  return "(" + p.join(", ") + ")";
}

QString selectColumns(const File& f) {
  QStringList cols{"_pos", "_chg"};
  for (const Field* x : f.record().all())
    cols << columnName(*x);
  return cols.join(", ");
}

}  // namespace files::detail
