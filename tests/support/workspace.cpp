#include "tests/support/workspace.h"

#include "tests/support/raw_database.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

namespace test {

Workspace::Workspace() : previousDir_(QDir::currentPath()), previousConfig_(qgetenv("XDG_CONFIG_HOME")) {
  QDir::setCurrent(data_.path());
  qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
}

Workspace::~Workspace() {
  QDir::setCurrent(previousDir_);
  if (previousConfig_.isEmpty())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", previousConfig_);
}

QString readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

void damageFile(const QString& path, qint64 offset, qint64 count, char byte) {
  QFile f(path);
  f.open(QIODevice::ReadWrite);
  f.seek(offset);
  f.write(QByteArray(count, byte));
}

void writeFile(const QString& path, const QByteArray& text) {
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(text);
}

}  // namespace test
