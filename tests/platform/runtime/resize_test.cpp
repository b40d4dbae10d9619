#include "platform/runtime/resize.h"

#include <gtest/gtest.h>

namespace {

using rt::ResizeClass;
using rt::ResizeStrategy;

TEST(Resize, FactorsAreRoundedToFourPlaces) {
  EXPECT_DOUBLE_EQ(rt::resizeFactor(300, 400), 1.3333);
  EXPECT_DOUBLE_EQ(rt::resizeFactor(3, 2), 0.6667);
  EXPECT_DOUBLE_EQ(rt::resizeFactor(0, 50), 1.0);
}

TEST(Resize, StrategiesPlaceEachClassOfControl) {
  const QSize window(400, 200), now(600, 300);  // factors 1.5 and 1.5
  const struct {
    ResizeStrategy strategy;
    ResizeClass cls;
    QRect rect;
    QRect expected;
  } cases[] = {
      {ResizeStrategy::List, ResizeClass::Button, {10, 20, 60, 20}, {15, 30, 90, 30}},
      {ResizeStrategy::List, ResizeClass::Entry, {10, 20, 60, 20}, {15, 30, 90, 30}},
      {ResizeStrategy::Form, ResizeClass::Proportional, {10, 20, 60, 20}, {15, 30, 90, 30}},
      {ResizeStrategy::Form, ResizeClass::Entry, {10, 20, 60, 20}, {15, 30, 90, 20}},
      {ResizeStrategy::Form, ResizeClass::CheckOrRadio, {10, 20, 60, 20}, {15, 30, 60, 20}},
      // A button near the top left keeps its place; one near the bottom right keeps its distance from
      // those edges.
      {ResizeStrategy::Form, ResizeClass::Button, {10, 20, 60, 20}, {10, 20, 60, 20}},
      {ResizeStrategy::Form, ResizeClass::Button, {330, 170, 60, 20}, {530, 270, 60, 20}},
      {ResizeStrategy::Form, ResizeClass::Button, {10, 170, 60, 20}, {10, 270, 60, 20}},
      {ResizeStrategy::None, ResizeClass::Proportional, {10, 20, 60, 20}, {10, 20, 60, 20}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rt::resizedGeometry(c.strategy, c.cls, c.rect, window, now), c.expected)
        << int(c.strategy) << "/" << int(c.cls) << " " << c.rect.x() << "," << c.rect.y();
}

}  // namespace
