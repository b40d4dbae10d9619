#include "platform/picture/clock.h"

namespace pic {
namespace {

QDateTime& fixedMoment() {
  static QDateTime moment;
  return moment;
}

}  // namespace

QDateTime now() {
  return fixedMoment().isValid() ? fixedMoment() : QDateTime::currentDateTime();
}

void setClock(const QDateTime& moment) {
  fixedMoment() = moment;
}

}  // namespace pic
