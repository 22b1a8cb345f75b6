#include "ui/icon_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

void ExpectPoints(const Polygon& polygon, std::initializer_list<PointF> expected) {
  ASSERT_EQ(polygon.size(), expected.size());
  size_t i = 0;
  for (const PointF& p : expected) {
    EXPECT_FLOAT_EQ(polygon[i].x, p.x) << "point " << i;
    EXPECT_FLOAT_EQ(polygon[i].y, p.y) << "point " << i;
    ++i;
  }
}

float Distance(PointF a, PointF b) { return std::hypot(a.x - b.x, a.y - b.y); }
bool ByY(PointF a, PointF b) { return a.y < b.y; }

TEST(ParsePath, SeparatorsNumbersAndImplicitRepetition) {
  const PolygonList list = ParsePath("M1,1 L5,1 5,5\t1,5\nZ");
  ASSERT_EQ(list.size(), 1u);
  ExpectPoints(list[0], {{1, 1}, {5, 1}, {5, 5}, {1, 5}});
  // Pairs after M are lines; a sign or a second point starts a new number.
  ExpectPoints(ParsePath("M0-1 4-1 .5.5").at(0), {{0, -1}, {4, -1}, {0.5f, 0.5f}});
  ExpectPoints(ParsePath("M.5,1e1L-1.5e+0,10 2.,-3E-1z").at(0), {{0.5f, 10}, {-1.5f, 10}, {2, -0.3f}});
  // Relative commands (no icon uses them yet): m after z starts from the closed subpath's start.
  ExpectPoints(ParsePath("M10,10 l2,0 v3 h-2 z m1,1 2,0 0,2").at(1), {{11, 11}, {13, 11}, {13, 13}});
}

TEST(ParsePath, CubicIsSampledAtTwelfths) {
  const Polygon curve = ParsePath("M2,2C2,14 14,14 14,2Z").at(0);
  ASSERT_EQ(curve.size(), 13u);
  EXPECT_NEAR(curve[6].x, 8.0f, 1e-5);  // t = 1/2
  EXPECT_NEAR(curve[6].y, 11.0f, 1e-5);
  EXPECT_NEAR(curve[3].y, 8.75f, 1e-5);  // t = 1/4: y = 2 + 36 t (1 - t)
  EXPECT_FLOAT_EQ(curve[12].x, 14.0f);
}

TEST(ParsePath, ShortSubpathsAreDroppedAndStopsKeepFinishedPolygons) {
  EXPECT_TRUE(ParsePath("M1,1L5,5Z").empty());
  EXPECT_EQ(ParsePath("M1,1L5,5Z M0,0H4V4Z").size(), 1u);
  EXPECT_EQ(ParsePath("M0,0H4V4Z M0,0 Q1,1 2,2 Z").size(), 1u);  // Q is not supported: stop
  EXPECT_EQ(ParsePath("M0,0H4V4Z 1,1 M0,0H4V4Z").size(), 1u);    // no command after Z: stop
  ExpectPoints(ParsePath("M0,0H4V4H#").at(0), {{0, 0}, {4, 0}, {4, 4}});  // the open polygon is kept
  EXPECT_TRUE(ParsePath("12 34").empty());
}

TEST(AppendArc, LargeArcAndSweepPickTheCircleAndTheSide) {
  Polygon small, large, up, down;
  AppendArc(small, {0, 0}, 5, 5, 0, false, true, {5, 5});
  AppendArc(large, {0, 0}, 5, 5, 0, true, true, {5, 5});
  EXPECT_FLOAT_EQ(small.back().x, 5.0f);
  EXPECT_FLOAT_EQ(small.back().y, 5.0f);
  // The small clockwise arc turns about (0, 5); the large one about (5, 0).
  for (const PointF& p : small) EXPECT_NEAR(Distance(p, {0, 5}), 5.0f, 1e-4);
  for (const PointF& p : large) EXPECT_NEAR(Distance(p, {5, 0}), 5.0f, 1e-4);
  EXPECT_NEAR(std::max_element(large.begin(), large.end(), [](PointF a, PointF b) { return a.x < b.x; })->x, 10, 0.1);

  AppendArc(up, {10, 10}, 5, 5, 0, false, true, {20, 10});
  AppendArc(down, {10, 10}, 5, 5, 0, false, false, {20, 10});
  EXPECT_NEAR(std::min_element(up.begin(), up.end(), ByY)->y, 5.0f, 0.05f);  // clockwise on screen: over the top
  EXPECT_NEAR(std::max_element(up.begin(), up.end(), ByY)->y, 10.0f, 1e-5f);
  EXPECT_NEAR(std::max_element(down.begin(), down.end(), ByY)->y, 15.0f, 0.05f);
}

TEST(AppendArc, TooSmallRadiiScaleUpAndZeroRadiusIsALine) {
  Polygon scaled;
  AppendArc(scaled, {0, 0}, 1, 1, 0, false, true, {10, 0});
  for (const PointF& p : scaled) EXPECT_NEAR(Distance(p, {5, 0}), 5.0f, 1e-4);
  EXPECT_NEAR(std::min_element(scaled.begin(), scaled.end(), ByY)->y, -5.0f, 0.05f);

  ExpectPoints(ParsePath("M0,0 A0,5 0 0,1 10,0 L10,10Z").at(0), {{0, 0}, {10, 0}, {10, 10}});
  Polygon same;
  AppendArc(same, {3, 3}, 5, 5, 0, true, true, {3, 3});
  ExpectPoints(same, {{3, 3}});
}

}  // namespace
}  // namespace ui
