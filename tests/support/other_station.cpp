#include "tests/support/other_station.h"

#include <QDir>
#include <QElapsedTimer>

namespace test {

bool OtherStation::start(const QStringList& arguments) {
  process_.setWorkingDirectory(QDir::currentPath());
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(KVX_STATION_PATH, arguments);
  if (!process_.waitForStarted(10000)) return false;
  QElapsedTimer clock;
  clock.start();
  while (!output_.contains("ready\n")) {
    if (clock.elapsed() > 30000 || process_.state() == QProcess::NotRunning) return false;
    process_.waitForReadyRead(100);
    output_ += QString::fromUtf8(process_.readAllStandardOutput());
  }
  return true;
}

int OtherStation::finish(int deadlineMs) {
  if (!process_.waitForFinished(deadlineMs)) return -1;
  output_ += QString::fromUtf8(process_.readAllStandardOutput());
  return process_.exitCode();
}

int OtherStation::exitCode() const {
  return process_.exitStatus() == QProcess::CrashExit ? -1 : process_.exitCode();
}

void OtherStation::kill() {
  process_.kill();
  process_.waitForFinished(10000);
}

OtherStation::~OtherStation() {
  if (process_.state() != QProcess::NotRunning) kill();
}

}  // namespace test
