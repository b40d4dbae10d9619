// Lets GoogleTest print Qt values readably in failure messages.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (qsizetype i = 0; i < l.size(); ++i)
    *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
  *os << '}';
}
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << "QRect(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
