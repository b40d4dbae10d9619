// Runs kvx_station (tests/support/station.cpp) as a second program on the test's data files.
#pragma once

#include <QProcess>
#include <QStringList>

namespace test {

class OtherStation {
 public:
  // Starts the station with `arguments` in the current working directory and waits until it says
  // "ready"; false if it never does.
  bool start(const QStringList& arguments);
  // Waits for the station to end by itself; its exit code, or -1.
  int finish(int deadlineMs = 30000);
  // Ends it at once, as a power cut or a crash would.
  void kill();
  // How the station ended: its exit code, or -1 when a signal ended it.
  int exitCode() const;
  QString output() const { return output_; }
  ~OtherStation();

 private:
  QProcess process_;
  QString output_;
};

}  // namespace test
