#include "storage/window_layout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/runtime/list_format.h"
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

// Where a window may stand, in the coordinates of its position: the screens' free area for a
// top-level window, an area of the screens' size for a document inside the frame; without a screen,
// whatever a widget can be.
QRect placeableArea(const rt::Window& window) {
  const QWidget* w = window.widget();
  const QScreen* screen = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  if (!screen) return QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const QRect area = screen->availableVirtualGeometry();
  return w && w->isWindow() ? area : QRect(QPoint(0, 0), area.size());
}

// A stored place cut to the area, so that a damaged or foreign settings file cannot put a window out
// of reach or make it larger than the screen: the size at most the area's, the window inside it.
QRect fitted(qint64 x, qint64 y, qint64 width, qint64 height, const QRect& area) {
  const qint64 w = std::clamp<qint64>(width, 1, area.width());
  const qint64 h = std::clamp<qint64>(height, 1, area.height());
  return QRect(int(std::clamp<qint64>(x, area.left(), area.left() + area.width() - w)),
               int(std::clamp<qint64>(y, area.top(), area.top() + area.height() - h)), int(w), int(h));
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
      const QRect area = placeableArea(window);
      if (window.isResizable()) {
        const qint64 w = positionNumber(section, "Width");
        const qint64 h = positionNumber(section, "Height");
        if (w != 0 && h != 0) {
          const QRect r = fitted(x, y, w, h, area);
          window.moveTo(r.topLeft());
          window.resizeTo(r.size());
        }
      } else {
        const QSize size = window.normalGeometry().size();
        window.moveTo(fitted(x, y, size.width(), size.height(), area).topLeft());
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
  // A saved layout that is no format (a damaged file) gives way to the design.
  return saved.isEmpty() || !rt::parseListFormat(saved) ? designed : saved;
}

void SaveListLayout(const QString& section, const QString& control, const QString& current) {
  writePosition(section, "SRCF?" + control, current);
}
