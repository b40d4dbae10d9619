// tpsfix: repairs a damaged data file of kvx98.
//
//   tpsfix NAME.tps [/E:EXAMPLE.tpe] [/K]
//
// The utility knows the layout of every data file of the program and tells which file it is given by
// its name (kvxdata.tps is the songs file), so no example is needed. /E: names an example file (an
// empty file of the same layout, as the upgrade pack's ds_MakeTPE makes one): it must be of the same
// file, and it tells which file one under another name is. The original is always kept beside the
// result (/K is accepted for the program's command line and changes nothing). Exit codes: 0 repaired
// or nothing to repair, 1 wrong arguments, 2 the file is in use, 3 the repair failed, 4 refused
// because the file or its example holds another file's records (nothing was changed).
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "tools/tpsfix/repair.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString data, example;
  for (const QString& a : QCoreApplication::arguments().mid(1)) {
    if (a.startsWith("/E:", Qt::CaseInsensitive))
      example = a.mid(3);
    else if (a.compare("/K", Qt::CaseInsensitive) == 0)
      continue;
    else if (data.isEmpty())
      data = a;
  }
  if (data.isEmpty()) {
    std::fprintf(stderr, "usage: tpsfix NAME.tps [/E:EXAMPLE.tpe] [/K]\n");
    return 1;
  }
  const tpsfix::Report r = tpsfix::repair(data, example);
  std::printf("tpsfix: %s: %s\n", qPrintable(QFileInfo(data).fileName()), qPrintable(r.text));
  switch (r.outcome) {
    case tpsfix::Outcome::Sound:
    case tpsfix::Outcome::Repaired:
      return 0;
    case tpsfix::Outcome::InUse:
      return 2;
    case tpsfix::Outcome::Failed:
      return 3;
    case tpsfix::Outcome::Refused:
      return 4;
  }
  return 3;
}
