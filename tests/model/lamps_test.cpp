// The lamps, their off buttons and the white-light switch.
#include <gtest/gtest.h>

#include "model/banc.h"
#include "model/textos.h"
#include "support.h"

namespace corvani {
namespace {

TEST(Lamps, RedGreenBlueInTurnSetTheBitsAndSwapTheButtons) {
  Bench b;
  const std::int16_t expected[] = {4, 6, 7};
  for (int i = 0; i < lampCount; ++i) {
    b.banc.cmdLlum_Click(i);
    EXPECT_EQ(b.banc.estat().llums, expected[i]);
    EXPECT_EQ(b.pintades, i + 1);
  }
  for (int i = 0; i < lampCount; ++i) {
    EXPECT_FALSE(b.controls().enabled(cmdLlum(i)));
    EXPECT_TRUE(b.controls().visible(cmdLlumOff(i)));
    EXPECT_TRUE(b.controls().enabled(cmdLlumOff(i)));
  }
}


// Through Banc::click, which reaches an off button even while hidden, so that each channel can be
// cleared on its own after white light. Bit i of a mask stands for lamp i.
struct LightSequence {
  const char* name;
  std::vector<Ctl> clicks;
  std::int16_t llums;
  std::int32_t raigR, raigG, raigB;
  int lampEnabled, offShown, offEnabled;
  const char* caption;
  int pintades, clears;
};
void PrintTo(const LightSequence& r, std::ostream* os) {
  *os << r.name << " (";
  for (std::size_t i = 0; i < r.clicks.size(); ++i) *os << (i ? ", " : "") << nameOf(r.clicks[i]);
  *os << " -> llums " << r.llums << ")";
}
class Lights : public testing::TestWithParam<LightSequence> {};

TEST_P(Lights, EndInTheExpectedState) {
  const LightSequence& row = GetParam();
  Bench b;
  for (Ctl c : row.clicks) ASSERT_TRUE(b.banc.click(c)) << nameOf(c);
  EXPECT_EQ(b.estat().llums, row.llums);
  EXPECT_EQ(b.estat().raigR, row.raigR);
  EXPECT_EQ(b.estat().raigG, row.raigG);
  EXPECT_EQ(b.estat().raigB, row.raigB);
  for (int i = 0; i < lampCount; ++i) {
    EXPECT_EQ(b.controls().enabled(cmdLlum(i)), bool(row.lampEnabled >> i & 1)) << i;
    EXPECT_EQ(b.controls().visible(cmdLlumOff(i)), bool(row.offShown >> i & 1)) << i;
    EXPECT_EQ(b.controls().enabled(cmdLlumOff(i)), bool(row.offEnabled >> i & 1)) << i;
  }
  EXPECT_EQ(b.controls().caption(Ctl::cmdBlanca), row.caption);
  EXPECT_EQ(b.pintades, row.pintades);
  EXPECT_EQ(b.surface.clears, row.clears);
}

using C = Ctl;
const char* const on = "Apaga Llum";
const char* const off = "Llum Blanca";
INSTANTIATE_TEST_SUITE_P(
    Lamps, Lights,
    testing::Values(
        LightSequence{"RedOnOff", {C::cmdLlum0, C::cmdLlumOff0}, 0, 0, 0, 0, 7, 0, 6, off, 2, 0},
        LightSequence{"GreenOffOfThree", {C::cmdLlum0, C::cmdLlum1, C::cmdLlum2, C::cmdLlumOff1}, 5, 0, 0, 0, 2, 5,
                      5, off, 4, 0},
        LightSequence{"WhiteThenRedOffClearsRedOnly", {C::cmdBlanca, C::cmdLlumOff0}, 3, 0, 255, 255, 1, 0, 0, on, 2,
                      0},
        LightSequence{"WhiteThenGreenOff", {C::cmdBlanca, C::cmdLlumOff1}, 5, 255, 0, 255, 2, 0, 0, on, 2, 0},
        LightSequence{"WhiteThenBlueOff", {C::cmdBlanca, C::cmdLlumOff2}, 6, 255, 255, 0, 4, 0, 0, on, 2, 0},
        LightSequence{"WhiteFromDark", {C::cmdBlanca}, 7, 255, 255, 255, 0, 0, 0, on, 1, 0},
        LightSequence{"WhiteOverRedReplacesIt", {C::cmdLlum0, C::cmdBlanca}, 7, 255, 255, 255, 0, 0, 0, on, 2, 0},
        LightSequence{"WhiteOverAllThree", {C::cmdLlum0, C::cmdLlum1, C::cmdLlum2, C::cmdBlanca}, 7, 255, 255, 255,
                      0, 0, 0, on, 4, 0},
        LightSequence{"WhiteOffClearsWithoutRedrawing", {C::cmdBlanca, C::cmdBlanca}, 0, 0, 0, 0, 7, 0, 0, off, 1, 1},
        LightSequence{"WhiteOffDoesNotRestoreRed", {C::cmdLlum0, C::cmdBlanca, C::cmdBlanca}, 0, 0, 0, 0, 7, 0, 0, off,
                      2, 1},
        LightSequence{"RedWhiteOffThenBlue", {C::cmdLlum0, C::cmdBlanca, C::cmdBlanca, C::cmdLlum2}, 1, 0, 0, 0, 3, 4,
                      4, off, 3, 1},
        LightSequence{"WhiteOnOffOn", {C::cmdBlanca, C::cmdBlanca, C::cmdBlanca}, 7, 255, 255, 255, 0, 0, 0, on, 2,
                      1}),
    [](const auto& info) { return std::string(info.param.name); });

// The switch reads its state from its caption, and only the exact caption offers white light.
TEST(Lamps, ACaptionThatIsNotExactlyLlumBlancaSwitchesOff) {
  for (const char* caption : {"Llum blanca", "Llum Blanca ", "Apaga Llum"}) {
    Bench b;
    b.banc.controls().setCaption(Ctl::cmdBlanca, caption);
    b.banc.cmdBlanca_Click();
    EXPECT_EQ(b.estat().llums + b.pintades, 0) << caption;
    EXPECT_EQ(b.surface.clears, 1) << caption;
    EXPECT_EQ(b.controls().caption(Ctl::cmdBlanca), "Llum Blanca") << caption;
  }
}

}  // namespace
}  // namespace corvani
