#include "platform/expr/bindings.h"

#include "platform/files/field.h"
#include "platform/files/record.h"

namespace expr {
namespace {

QString keyOf(const QString& name) {
  return name.toCaseFolded();
}

std::function<QVariant()> reader(const files::Field& f) {
  return [&f] { return f.value(); };
}

}  // namespace

void Bindings::add(Binding b) {
  const QString key = keyOf(b.name);
  names_.insert_or_assign(key, std::move(b));
}

void Bindings::bind(files::Field& field) {
  add({field.label(), reader(field), field.isText(), field.owner() ? &field : nullptr});
}

void Bindings::bind(files::Record& record) {
  for (files::Field* f : record.all())
    bind(*f);
}

void Bindings::bind(const QString& name, files::Field& variable) {
  add({name, reader(variable), variable.isText(), nullptr});
}

void Bindings::unbind(const QString& name) {
  names_.erase(keyOf(name));
}

const Binding* Bindings::find(const QString& name) const {
  auto it = names_.find(keyOf(name));
  if (it != names_.end()) return &it->second;
  return parent_ ? parent_->find(name) : nullptr;
}

Bindings& programBindings() {
  // Never destroyed: files and windows declared as globals may still use it during the program's exit.
  static Bindings* const program = new Bindings;
  return *program;
}

}  // namespace expr
