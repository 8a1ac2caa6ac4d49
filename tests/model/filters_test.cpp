// The six filter buttons, the three slots, their removal and their repainting.
#include <gtest/gtest.h>

#include "support.h"

namespace corvani {
namespace {

struct FilterRow {
  const char* name;
  int index;
  Color color;
  std::int16_t passR, passG, passB;
};
void PrintTo(const FilterRow& r, std::ostream* os) {
  *os << r.name << " (cmdfiltre(" << r.index << "), colour " << r.color << ", passes " << r.passR << r.passG
      << r.passB << ")";
}
class Filter : public testing::TestWithParam<FilterRow> {};

TEST_P(Filter, TakesTheNextSlotWithItsColourAndBlocksTheRest) {
  const FilterRow& row = GetParam();
  Bench b;
  b.banc.cmdLlum_Click(0);
  for (int s = 0; s < 2; ++s) {
    Instant want = instant(b);
    want[shpFiltre(s)].back = row.color;
    want[shpFiltre(s)].visible = want[Ctl::cmdForaFiltres].visible = true;
    want.estat.passaR[s] = row.passR;
    want.estat.passaG[s] = row.passG;
    want.estat.passaB[s] = row.passB;
    ++want.estat.nfiltres;
    ++want.pintades;
    b.banc.cmdfiltre_Click(row.index);
    SCOPED_TRACE(s);
    expectSame(want, instant(b));
  }
}

INSTANTIATE_TEST_SUITE_P(Filters, Filter,
                         testing::Values(FilterRow{"vermell", 0, 255, 1, 0, 0}, FilterRow{"verd", 1, 65280, 0, 1, 0},
                                         FilterRow{"blau", 2, 16711680, 0, 0, 1},
                                         FilterRow{"cian", 3, 16776960, 0, 1, 1},
                                         FilterRow{"magenta", 4, 16711935, 1, 0, 1},
                                         FilterRow{"groc", 5, 65535, 1, 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Filters, WithoutALampNothingIsRedrawn) {
  Bench b;
  b.banc.cmdfiltre_Click(3);
  EXPECT_EQ(b.pintades, 0);
  EXPECT_EQ(b.estat().nfiltres, 1);
}

// The user reads the warning with the remove button already up and the third filter still in place.
TEST(Filters, AFourthReplacesTheThirdAfterTheWarning) {
  Bench b;
  for (int i : {0, 1, 2}) b.banc.cmdfiltre_Click(i);
  b.banc.cmdLlum_Click(1);
  b.banc.controls().hide(Ctl::cmdForaFiltres);
  Instant open = instant(b);
  open[Ctl::cmdForaFiltres].visible = true;
  open.shown = {"només podem posar fins a 3 filtres alhora"};
  int seen = 0;
  b.dialogs.whileOpen = [&] { ++seen, expectSame(open, instant(b)); };
  b.banc.cmdfiltre_Click(5);
  Instant after = open;
  after[shpFiltre(2)].back = 65535;
  after.estat.passaR[2] = after.estat.passaG[2] = 1;
  after.estat.passaB[2] = 0;
  ++after.pintades;
  EXPECT_EQ(seen, 1);
  expectSame(after, instant(b));
}

// The redraw inside the removal already sees the slots empty, with the button still up.
TEST(Filters, RemovalEmptiesTheSlotsThenRedrawsThenHidesItsButton) {
  Bench b;
  for (int i : {3, 4, 5}) b.banc.cmdfiltre_Click(i);
  Instant drawing = instant(b);
  for (int s = 0; s < slotCount; ++s) {
    drawing[shpFiltre(s)].visible = false;
    drawing.estat.passaR[s] = drawing.estat.passaG[s] = drawing.estat.passaB[s] = 1;
  }
  drawing.estat.nfiltres = 0;
  ++drawing.pintades;
  b.whileDrawing = [&](Estat&) { expectSame(drawing, instant(b)); };
  ASSERT_TRUE(b.banc.click(Ctl::cmdForaFiltres));
  drawing[Ctl::cmdForaFiltres].visible = false;
  expectSame(drawing, instant(b));
}

TEST(Filters, RepaintCoversTheOccupiedSlotsInOrder) {
  const std::vector<Ctl> all = {shpFiltre(0), shpFiltre(1), shpFiltre(2)};
  for (std::int16_t n = 0; n <= 3; ++n) {
    Estat e;
    e.nfiltres = n;
    RecordingSurface s;
    repintafiltres(e, s);
    EXPECT_EQ(s.repainted, std::vector<Ctl>(all.begin(), all.begin() + n)) << n;
    EXPECT_EQ(s.clears, 0);
  }
}

}  // namespace
}  // namespace corvani
