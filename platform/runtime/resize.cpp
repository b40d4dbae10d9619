#include "platform/runtime/resize.h"

#include <cmath>

namespace rt {

double resizeFactor(int recorded, int now) {
  if (recorded <= 0) return 1.0;
  return std::round(double(now) / recorded * 10000.0) / 10000.0;
}

namespace {

int scaled(int v, double f) {
  return int(std::lround(v * f));
}

// One axis: start and length of a control on an axis of the window.
struct Span {
  int start;
  int length;
};

Span place(Span r, int recordedExtent, int newExtent, double factor, bool keepLength, bool keepEdgeDistance) {
  const int length = keepLength ? r.length : scaled(r.length, factor);
  if (!keepEdgeDistance) return {scaled(r.start, factor), length};
  const bool nearerFarEdge = r.start + r.length / 2.0 > recordedExtent / 2.0;
  if (!nearerFarEdge) return {r.start, length};
  const int distance = recordedExtent - r.start;
  return {newExtent - (keepLength ? distance : scaled(distance, factor)), length};
}

}  // namespace

QRect resizedGeometry(ResizeStrategy strategy, ResizeClass cls, const QRect& rect, const QSize& window,
                      const QSize& now) {
  if (strategy == ResizeStrategy::None) return rect;
  const double fx = resizeFactor(window.width(), now.width());
  const double fy = resizeFactor(window.height(), now.height());
  bool keepW = false, keepH = false, keepEdges = false;
  if (strategy == ResizeStrategy::Form) {
    switch (cls) {
      case ResizeClass::Entry:
        keepH = true;
        break;
      case ResizeClass::Button:
        keepW = keepH = keepEdges = true;
        break;
      case ResizeClass::CheckOrRadio:
        keepW = keepH = true;
        break;
      case ResizeClass::Proportional:
        break;
    }
  }
  const Span x = place({rect.x(), rect.width()}, window.width(), now.width(), fx, keepW, keepEdges);
  const Span y = place({rect.y(), rect.height()}, window.height(), now.height(), fy, keepH, keepEdges);
  return QRect(x.start, y.start, x.length, y.length);
}

}  // namespace rt
