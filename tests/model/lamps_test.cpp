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

}  // namespace
}  // namespace corvani
