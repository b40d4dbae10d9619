#include "shell/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/runtime/pictures.h"

namespace {

const QColor kInk(24, 46, 96);
const QColor kGold(232, 178, 48);

// An eighth note whose head sits in the lower left of `box`.
void drawNote(QPainter& p, const QRectF& box, const QColor& color) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  const double w = box.width(), h = box.height();
  const QRectF head(box.left(), box.bottom() - h * 0.32, w * 0.55, h * 0.32);
  p.translate(head.center());
  p.rotate(-20);
  p.drawEllipse(QRectF(-head.width() / 2, -head.height() / 2, head.width(), head.height()));
  p.restore();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  const double stemX = box.left() + w * 0.50;
  p.drawRect(QRectF(stemX, box.top() + h * 0.05, w * 0.08, h * 0.80));
  QPainterPath flag;
  flag.moveTo(stemX + w * 0.08, box.top() + h * 0.05);
  flag.cubicTo(stemX + w * 0.45, box.top() + h * 0.25, stemX + w * 0.55, box.top() + h * 0.45,
               stemX + w * 0.30, box.top() + h * 0.62);
  flag.cubicTo(stemX + w * 0.40, box.top() + h * 0.42, stemX + w * 0.25, box.top() + h * 0.30,
               stemX + w * 0.08, box.top() + h * 0.28);
  flag.closeSubpath();
  p.drawPath(flag);
  p.restore();
}

QPixmap transparent(int w, int h) {
  QPixmap pm(w, h);
  pm.fill(Qt::transparent);
  return pm;
}

QPixmap frameLogo() {
  QPixmap pm = transparent(190, 40);
  QPainter p(&pm);
  drawNote(p, QRectF(2, 2, 28, 36), kInk);
  QFont f("DejaVu Serif", 13, QFont::Bold, true);
  p.setFont(f);
  p.setPen(kInk);
  p.drawText(QRectF(34, 0, 156, 40), Qt::AlignVCenter | Qt::AlignLeft, "Cantorix Pro 98");
  return pm;
}

QPixmap splashPicture() {
  QPixmap pm(420, 230);
  QPainter p(&pm);
  QLinearGradient g(0, 0, 0, 230);
  g.setColorAt(0, QColor(30, 58, 120));
  g.setColorAt(1, QColor(10, 20, 48));
  p.fillRect(pm.rect(), g);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1.5));
  for (int i = 0; i < 5; ++i)
    p.drawLine(0, 70 + i * 14, 420, 60 + i * 14);
  drawNote(p, QRectF(30, 40, 70, 100), kGold);
  drawNote(p, QRectF(320, 70, 46, 66), QColor(255, 255, 255, 170));
  p.setPen(Qt::white);
  p.setFont(QFont("DejaVu Serif", 30, QFont::Bold, true));
  p.drawText(QRectF(110, 40, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, "Cantorix");
  p.setPen(kGold);
  p.setFont(QFont("DejaVu Sans", 18, QFont::Bold));
  p.drawText(QRectF(114, 96, 300, 34), Qt::AlignLeft | Qt::AlignVCenter, "Pro 98");
  p.setPen(QColor(220, 228, 245));
  p.setFont(QFont("DejaVu Sans", 10));
  p.drawText(QRectF(0, 178, 420, 30), Qt::AlignCenter, "The catalogue of your music collection");
  return pm;
}

QPixmap noteIcon() {
  QPixmap pm = transparent(32, 32);
  QPainter p(&pm);
  drawNote(p, QRectF(6, 2, 22, 28), kInk);
  return pm;
}

QPixmap notePageIcon() {
  QPixmap pm = transparent(32, 32);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 2, 22, 28));
  p.setPen(QPen(QColor(150, 160, 190), 1));
  for (int y = 8; y < 28; y += 4)
    p.drawLine(8, y, 22, y);
  drawNote(p, QRectF(12, 8, 16, 22), kInk);
  return pm;
}

QPixmap cdIcon() {
  QPixmap pm = transparent(32, 32);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient g(16, 16, 15);
  g.setColorAt(0.2, QColor(235, 235, 245));
  g.setColorAt(0.6, QColor(170, 200, 230));
  g.setColorAt(1.0, QColor(200, 170, 230));
  p.setPen(QPen(QColor(90, 90, 110), 1));
  p.setBrush(g);
  p.drawEllipse(QRectF(1, 1, 30, 30));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(12, 12, 8, 8));
  return pm;
}

}  // namespace

void RegisterArtwork() {
  rt::registerPicture("kvx98nte.gif", frameLogo);
  rt::registerPicture("kvx98-3.gif", splashPicture);
  rt::registerPicture("NOTE.ICO", noteIcon);
  rt::registerPicture("NOTEPAGE.ICO", notePageIcon);
  rt::registerPicture("SMCD.ICO", cdIcon);
}
