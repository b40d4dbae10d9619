#include "platform/runtime/pictures.h"

#include <QDir>
#include <QImageReader>
#include <map>

namespace rt {
namespace {

std::map<QString, std::function<QPixmap()>>& registry() {
  static std::map<QString, std::function<QPixmap()>> r;
  return r;
}

}  // namespace

void registerPicture(const QString& name, std::function<QPixmap()> draw) {
  registry()[name.toLower()] = std::move(draw);
}

QPixmap picture(const QString& name) {
  if (name.trimmed().isEmpty()) return {};
  auto it = registry().find(name.trimmed().toLower());
  if (it != registry().end()) return it->second();
  QString path = name.trimmed();
  path.replace('\\', '/');
  QImageReader reader(QDir::current().absoluteFilePath(path));
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

}  // namespace rt
