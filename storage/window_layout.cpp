#include "storage/window_layout.h"

#include "platform/runtime/window.h"
#include "platform/settings/settings_file.h"
#include "storage/settings.h"

namespace {

QString readPosition(const QString& section, const QString& entry) {
  return settings::read(kPositionFile, section, entry);
}
qint64 positionNumber(const QString& section, const QString& entry) {
  return settings::wholeNumberOf(readPosition(section, entry));
}
void writePosition(const QString& section, const QString& entry, const QString& value) {
  settings::write(kPositionFile, section, entry, value);
}

}  // namespace

void SaveWindowPosition(rt::Window& window, const QString& section) {
  if (window.isMinimized()) return;
  const bool maximized = window.isMaximized();
  if (maximized) window.showNormal();
  const QRect r = window.normalGeometry();
  writePosition(section, "Maximize", maximized ? "Yes" : "No");
  writePosition(section, "XPosit", QString::number(r.x()));
  writePosition(section, "YPosit", QString::number(r.y()));
  writePosition(section, "Width", QString::number(r.width()));
  writePosition(section, "Height", QString::number(r.height()));
}

void RestoreWindowPosition(rt::Window& window, const QString& section) {
  if (positionNumber(section, "XPosit") == 0) return;
  if (!window.isMaximized()) {
    const qint64 x = positionNumber(section, "XPosit");
    const qint64 y = positionNumber(section, "YPosit");
    if (x != 0 && y != 0) {
      if (window.isResizable()) {
        const qint64 w = positionNumber(section, "Width");
        const qint64 h = positionNumber(section, "Height");
        if (w != 0 && h != 0) {
          window.moveTo(QPoint(int(x), int(y)));
          window.resizeTo(QSize(int(w), int(h)));
        }
      } else {
        window.moveTo(QPoint(int(x), int(y)));
      }
    }
  }
  if (readPosition(section, "Maximize") == "Yes")
    window.maximize();
  else
    window.showNormal();
}

QString RestoreListLayout(const QString& section, const QString& control, const QString& designed) {
  if (readPosition(section, "SRCFOriginal?" + control) != designed) {
    writePosition(section, "SRCFOriginal?" + control, designed);
    return designed;
  }
  const QString saved = readPosition(section, "SRCF?" + control);
  return saved.isEmpty() ? designed : saved;
}

void SaveListLayout(const QString& section, const QString& control, const QString& current) {
  writePosition(section, "SRCF?" + control, current);
}
