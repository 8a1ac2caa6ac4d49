// The ink pot: mixing, emptying, painting the paper with the mix and a new sheet.
#include <gtest/gtest.h>

#include "support.h"

namespace corvani {
namespace {

struct RGB {
  std::int16_t r, g, b;
};
const std::string full = "el pot de mescla ja està ple";
const std::string nothingToEmpty = "No hi ha tinta al pot de les mescles. No hi ha res que buidar";
const std::string nothingToPaint =
    "no hi ha tinta al pot de la mescla.Posa-n'hi primer tinta cian, magenta , blava o una mescla";

struct PotRun {
  const char* name;
  std::vector<Ctl> clicks;
  RGB mix;
  float level;
  Color liquidFill;
  RGB paper;
  RGB lastInk;
  std::vector<std::string> shown;
  int pintades = 0, clears = 0;
};
void PrintTo(const PotRun& r, std::ostream* os) {
  *os << r.name << " (";
  for (std::size_t i = 0; i < r.clicks.size(); ++i) *os << (i ? ", " : "") << nameOf(r.clicks[i]);
  *os << " -> mix " << r.mix.r << "," << r.mix.g << "," << r.mix.b << ", level " << r.level << ")";
}
class Pot : public testing::TestWithParam<PotRun> {};

TEST_P(Pot, EndsWithTheExpectedPotAndPaper) {
  const PotRun& row = GetParam();
  Bench b;
  for (Ctl c : row.clicks) ASSERT_TRUE(b.banc.click(c)) << nameOf(c);
  const Estat& e = b.estat();
  const ControlState& liquid = b.controls()[Ctl::shpMescla];
  EXPECT_EQ(e.mesclaR, row.mix.r);
  EXPECT_EQ(e.mesclaG, row.mix.g);
  EXPECT_EQ(e.mesclaB, row.mix.b);
  EXPECT_EQ(e.nivell, row.level);
  EXPECT_EQ(liquid.height, row.level);
  EXPECT_EQ(liquid.top, 2100 - row.level);  // the bottom stays put
  EXPECT_EQ(liquid.fill, row.liquidFill);
  EXPECT_EQ(e.paperR, row.paper.r);
  EXPECT_EQ(e.paperG, row.paper.g);
  EXPECT_EQ(e.paperB, row.paper.b);
  EXPECT_EQ(b.controls()[Ctl::shpPaper].back, packColor(row.paper.r, row.paper.g, row.paper.b));
  EXPECT_EQ(e.tintaR, row.lastInk.r);
  EXPECT_EQ(e.tintaG, row.lastInk.g);
  EXPECT_EQ(e.tintaB, row.lastInk.b);
  EXPECT_EQ(b.dialogs.shown, row.shown);
  EXPECT_EQ(b.pintades, row.pintades);
  EXPECT_EQ(b.surface.clears, row.clears);
}

const Ctl red = cmdTinta(0), white = cmdTinta(1), black = cmdTinta(2), cyan = cmdTinta(3), magenta = cmdTinta(4),
          yellow = cmdTinta(5), green = cmdTinta(6), blue = cmdTinta(7);
const Ctl empty = Ctl::cmdBuidaPot, paint = Ctl::cmdPinta, sheet = Ctl::cmdFull, lamp = Ctl::cmdLlum1;
const RGB W = {255, 255, 255}, K = {0, 0, 0};
INSTANTIATE_TEST_SUITE_P(
    Pot, Pot,
    testing::Values(
        PotRun{"Cyan", {cyan}, {0, 255, 255}, 300, 16776960, W, {0, 255, 255}, {}},
        PotRun{"CyanMagentaIsBlue", {cyan, magenta}, {0, 0, 255}, 600, 16711680, W, {255, 0, 255}, {}},
        PotRun{"CyanYellowIsGreen", {cyan, yellow}, {0, 255, 0}, 600, 65280, W, {255, 255, 0}, {}},
        PotRun{"MagentaYellowIsRed", {magenta, yellow}, {255, 0, 0}, 600, 255, W, {255, 255, 0}, {}},
        PotRun{"AllThreeIsBlack", {cyan, magenta, yellow}, K, 900, 0, W, {255, 255, 0}, {}},
        PotRun{"WhiteKeepsTheMix", {red, white}, {255, 0, 0}, 600, 255, W, W, {}},
        PotRun{"WhiteTopsUpGreen", {cyan, yellow, white}, {0, 255, 0}, 900, 65280, W, W, {}},
        PotRun{"BlackBlackens", {yellow, black}, K, 600, 0, W, K, {}},
        PotRun{"Green", {green}, {0, 255, 0}, 300, 65280, W, {0, 255, 0}, {}},
        PotRun{"Blue", {blue}, {0, 0, 255}, 300, 16711680, W, {0, 0, 255}, {}},
        PotRun{"FullRefusesEvenTheInkChoice", {cyan, yellow, magenta, black, green}, K, 900, 0, W, {255, 0, 255},
               {full, full}},
        PotRun{"EmptyingAnEmptyPotWarns", {empty}, W, 0, colors::liquidGreen, W, K, {nothingToEmpty}},
        PotRun{"EmptyingLeavesTheLiquidColour", {cyan, magenta, empty}, W, 0, 16711680, W, {255, 0, 255}, {}},
        PotRun{"RefillStartsAfresh", {cyan, magenta, yellow, empty, magenta}, {255, 0, 255}, 300, 16711935, W,
               {255, 0, 255}, {}},
        PotRun{"PaintFromAnEmptyPotWarnsAndGoesOn", {paint}, W, 0, colors::liquidGreen, W, K, {nothingToPaint}},
        PotRun{"PaintKeepsThePot", {cyan, magenta, paint}, {0, 0, 255}, 600, 16711680, {0, 0, 255}, {255, 0, 255},
               {}},
        PotRun{"PaintUnderALampRedraws", {lamp, yellow, paint}, {255, 255, 0}, 300, 65535, {255, 255, 0},
               {255, 255, 0}, {}, 2},
        PotRun{"PaintAfterEmptyingIsWhite", {red, paint, empty, paint}, W, 0, 255, W, {255, 0, 0}, {nothingToPaint}},
        PotRun{"NewSheetIsWhiteRedrawnAndKeepsThePot", {cyan, paint, sheet}, {0, 255, 255}, 300, 16776960, W,
               {0, 255, 255}, {}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pot, NewSheetShowsThePaperAgain) {
  Bench b;
  b.banc.controls().hide(Ctl::shpPaper);
  b.banc.cmdFull_Click();
  EXPECT_TRUE(b.controls().visible(Ctl::shpPaper));
}

// The liquid grows upwards from a fixed bottom: its height first, then its top.
TEST(Pot, HeightGrowsBeforeTheTopMoves) {
  struct Watch : ControlsObserver {
    const Controls* controls = nullptr;
    std::vector<std::string> seen;
    void controlChanged(Ctl c) override {
      if (c != Ctl::shpMescla) return;
      seen.push_back(std::to_string(*(*controls)[c].height) + " " + std::to_string(*(*controls)[c].top));
    }
  } watch;
  Bench b;
  watch.controls = &b.controls();
  b.banc.controls().setObserver(&watch);
  b.banc.cmdTinta_Click(3);
  b.banc.controls().setObserver(nullptr);
  ASSERT_GE(watch.seen.size(), 2u);
  EXPECT_EQ(watch.seen[0], std::to_string(300.0f) + " " + std::to_string(2100.0f));
}

}  // namespace
}  // namespace corvani
