#include "platform/cdaudio/default_drive.h"

#include <QFile>
#include <cstdio>

namespace cdaudio {

std::unique_ptr<Drive> defaultDrive() {
  const QString path = qEnvironmentVariable("KVX_CDAUDIO_SCRIPT");
  if (path.isEmpty()) return systemDrive();
  QFile file(path);
  QString error;
  std::optional<Script> script;
  if (file.open(QIODevice::ReadOnly | QIODevice::Text))
    script = parseScript(QString::fromUtf8(file.readAll()), &error);
  else
    error = file.errorString();
  if (!script) {
    std::fprintf(stderr, "cdaudio: KVX_CDAUDIO_SCRIPT %s: %s\n", qPrintable(path), qPrintable(error));
    return nullptr;
  }
  return scriptedDrive(std::move(*script));
}

}  // namespace cdaudio
