// A fresh working directory and configuration folder for one test.
//
// Construct one at the start of a test (or in a fixture): the process changes into a new empty
// temporary folder and XDG_CONFIG_HOME points at a second one, so settings files, database files and
// the system-wide settings file of the test never touch the developer's own. The destructor changes
// back and removes both folders. Not thread-safe; tests run one at a time in a process.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "tests/support/qt_printers.h"

namespace test {

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  QString dataDir() const { return data_.path(); }
  QString configDir() const { return config_.path(); }
  // Path of a file in the data folder.
  QString file(const QString& name) const { return data_.path() + "/" + name; }

 private:
  QTemporaryDir data_;
  QTemporaryDir config_;
  QString previousDir_;
  QByteArray previousConfig_;
};

// Text of a whole file, or an empty text when it cannot be read.
QString readFile(const QString& path);
// Replaces the file with the given text.
void writeFile(const QString& path, const QByteArray& text);

}  // namespace test
