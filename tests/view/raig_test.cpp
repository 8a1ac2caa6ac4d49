// The ray drawing, line by line, on a recording surface.
#include <gtest/gtest.h>

#include "view/raig.h"

namespace corvani {
namespace {

struct Line {
  Point from, to;
  Color color;
  int width;
  friend bool operator==(const Line&, const Line&) = default;
};

struct Recorder : Surface {
  std::vector<Line> lines;
  int width = 1, clears = 0;
  void clear() override { ++clears, lines.clear(); }
  void setLineWidth(int px) override { width = px; }
  void line(Point a, Point b, Color c) override { lines.push_back({a, b, c, width}); }
  void repaintShape(Ctl) override {}
};

TEST(Raig, WhiteLightStraightIsFourWhiteLines) {
  Estat e;
  e.llums = 7;
  e.passaR = e.passaG = e.passaB = {1, 1, 1, 0};
  Recorder r;
  pintaraig(e, r);
  const std::vector<Line> expected = {
      {{500, 3000}, {3000, 3000}, colors::white, 3},
      {{3000, 3000}, {3200, 3000}, colors::white, 3},
      {{3200, 3000}, {3400, 3000}, colors::white, 3},
      {{3400, 3000}, {12900, 3000}, colors::white, 3},
  };
  EXPECT_EQ(r.lines, expected);
  EXPECT_EQ(r.width, 1);
}

}  // namespace
}  // namespace corvani
