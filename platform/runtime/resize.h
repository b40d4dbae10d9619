// Window resizing strategies: where each control goes when its window changes size.
//
// When a window opens it records its size and every control's position, size and class. On every
// real change of size the factors are the new width and height over the recorded ones, each rounded
// to four decimal places, and each control is placed from its recorded geometry:
//
//   list strategy   every control moves and grows in proportion
//   form strategy   entries (entry fields, combo boxes, spin boxes, drop lists) keep their height;
//                   buttons keep width and height and their distance from the nearer window edge,
//                   horizontally and vertically; check boxes and radio buttons keep width and height;
//                   every other control moves and grows in proportion
#pragma once

#include <QRect>
#include <QSize>

namespace rt {

enum class ResizeStrategy { None, List, Form };

enum class ResizeClass { Proportional, Entry, Button, CheckOrRadio };

// Rounds a scale factor to four decimal places.
double resizeFactor(int recorded, int now);

// The geometry of a control recorded at `rect` in a window recorded at `window`, once the window is
// `now` in size.
QRect resizedGeometry(ResizeStrategy strategy, ResizeClass cls, const QRect& rect, const QSize& window,
                      const QSize& now);

}  // namespace rt
