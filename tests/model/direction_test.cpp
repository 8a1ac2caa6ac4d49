// The lamp's direction scroll bar and the analysis switch.
#include <gtest/gtest.h>

#include "support.h"

namespace corvani {
namespace {

struct DirectionRow {
  const char* name;
  std::int16_t from, to;
  bool picture2Shown, picAvallShown;
};
void PrintTo(const DirectionRow& r, std::ostream* os) {
  *os << r.name << " (direccio " << r.from << " then " << r.to << ")";
}
class Direction : public testing::TestWithParam<DirectionRow> {};

TEST_P(Direction, SwapsTheLampPictureAndRedraws) {
  const DirectionRow& row = GetParam();
  Bench b;
  b.banc.VSllum_Change(row.from);
  b.banc.VSllum_Change(row.to);
  EXPECT_EQ(b.estat().direccio, row.to);
  EXPECT_EQ(b.controls().visible(Ctl::Picture2), row.picture2Shown);
  EXPECT_EQ(b.controls().visible(Ctl::PicAvall), row.picAvallShown);
  EXPECT_EQ(b.surface.clears, 2);
  EXPECT_EQ(b.pintades, 2);  // even with every lamp off
}

INSTANTIATE_TEST_SUITE_P(Direction, Direction,
                         testing::Values(DirectionRow{"Down", 0, 1, false, true},
                                         DirectionRow{"BackStraight", 1, 0, true, false},
                                         DirectionRow{"StaysDown", 1, 1, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Analysis, TogglesBetweenTrueAndFalseWithItsCaption) {
  Bench b;
  const struct {
    std::int16_t analisi;
    const char* caption;
  } after[] = {{-1, "normal"}, {0, "Anàlisi de la llum"}, {-1, "normal"}};
  for (int n = 0; n < 3; ++n) {
    ASSERT_TRUE(b.banc.click(Ctl::cmdAnalisi));
    EXPECT_EQ(b.estat().analisi, after[n].analisi) << n;
    EXPECT_EQ(b.controls().caption(Ctl::cmdAnalisi), after[n].caption) << n;
    EXPECT_EQ(b.surface.clears, n + 1);
    EXPECT_EQ(b.pintades, n + 1);
  }
}

}  // namespace
}  // namespace corvani
