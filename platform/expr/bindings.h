// The names a filter may use: record fields by their labels ("MUS:Artist") and program variables
// under any name ("BRW1::Sort3:Reset:MED:Media").
//
// A filter reads a binding's value each time it is evaluated, so one parsed filter follows the buffer
// as a view moves through its records. Names are matched without regard to case. A window's bindings
// usually have programBindings() as parent, so the program-wide variables are visible in every
// filter. The bound fields must outlive the expressions parsed with them.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <map>

namespace files {
class Field;
class Record;
}  // namespace files

namespace expr {

struct Binding {
  QString name;
  std::function<QVariant()> value;  // a QString for texts, a qlonglong for numbers
  bool isText = false;
  // The record field behind the name, which a view may map to a column; null for program variables.
  files::Field* field = nullptr;
};

class Bindings {
 public:
  // Names not bound here are looked up in `parent`.
  explicit Bindings(const Bindings* parent = nullptr) : parent_(parent) {}
  Bindings(const Bindings&) = delete;
  Bindings& operator=(const Bindings&) = delete;

  // A field under its label; a field of a record becomes a column when the filter runs in SQL, a
  // free-standing one is a program variable.
  void bind(files::Field& field);
  // Every field and memo of the record.
  void bind(files::Record& record);
  // A program variable under any name, even when it is a record's field.
  void bind(const QString& name, files::Field& variable);
  void unbind(const QString& name);

  // Null when the name is bound neither here nor in a parent.
  const Binding* find(const QString& name) const;

 private:
  void add(Binding b);

  const Bindings* parent_;
  std::map<QString, Binding> names_;  // by case-folded name
};

// The program-wide names: the usual parent of a window's bindings.
Bindings& programBindings();

}  // namespace expr
