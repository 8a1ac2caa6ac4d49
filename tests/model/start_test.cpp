// The bench as the window opens, before any click.
#include <gtest/gtest.h>

#include "support.h"

namespace corvani {
namespace {

Estat startState() {
  Estat e;
  e.passaR = e.passaG = e.passaB = {1, 1, 1, 0};
  e.paperR = e.paperG = e.paperB = 255;
  e.mesclaR = e.mesclaG = e.mesclaB = 255;
  return e;
}

bool hiddenAtStart(Ctl c) {
  for (Ctl h : {Ctl::PicAvall, Ctl::cmdForaFiltres, cmdLlumOff(0), cmdLlumOff(1), cmdLlumOff(2), cmdTinta(0),
                cmdTinta(1), cmdTinta(2), cmdTinta(6), cmdTinta(7), shpFiltre(0), shpFiltre(1), shpFiltre(2)})
    if (c == h) return true;
  return false;
}

TEST(Start, VariablesPotAndNothingDrawn) {
  Bench b;
  EXPECT_EQ(b.estat(), startState());
  EXPECT_EQ(b.controls()[Ctl::shpMescla].height, 0.0f);
  EXPECT_EQ(b.controls()[Ctl::shpMescla].top, 2100.0f);
  EXPECT_EQ(b.pintades, 0);
  EXPECT_EQ(b.surface.clears, 0);
  EXPECT_TRUE(b.dialogs.shown.empty());
}

TEST(Start, EveryControlsVisibilityEnabledAndCaption) {
  Bench b;
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    EXPECT_EQ(b.controls().visible(c), !hiddenAtStart(c)) << nameOf(c);
    EXPECT_TRUE(b.controls().enabled(c)) << nameOf(c);
    EXPECT_EQ(b.controls().caption(c), layoutOf(c).caption) << nameOf(c);
  }
  EXPECT_EQ(b.controls().caption(Ctl::cmdBlanca), "Llum Blanca");
  EXPECT_EQ(b.controls().caption(Ctl::cmdAnalisi), "Anàlisi de la llum");
}

// A bench must not inherit anything from another one used before it.
TEST(Start, BenchesStartedSeparatelyAreEqual) {
  Bench used;
  used.banc.cmdBlanca_Click();
  used.banc.cmdfiltre_Click(3);
  used.banc.cmdTinta_Click(4);
  used.banc.cmdAnalisi_Click();
  Bench first, second;
  expectSame(instant(first), instant(second));
  EXPECT_EQ(first.estat(), startState());
}

}  // namespace
}  // namespace corvani
