// What the table gives the eye and the ear: every caption's ink against its face, and every
// control's name, which starts with what the control shows so that speech input finds it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/color.h"
#include "model/layout.h"
#include "model/textos.h"
#include "support.h"

namespace corvani {
namespace {

struct ContrastRow {
  const char* name;
  Color a, b;
  double expected;  // to two decimals
};
void PrintTo(const ContrastRow& r, std::ostream* os) { *os << r.name << " (" << r.expected << " : 1)"; }

class Contrast : public testing::TestWithParam<ContrastRow> {};

TEST_P(Contrast, AsTheGuidelinesMeasureIt) {
  const ContrastRow& r = GetParam();
  EXPECT_NEAR(contrast(r.a, r.b), r.expected, 0.005);
  EXPECT_DOUBLE_EQ(contrast(r.a, r.b), contrast(r.b, r.a));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Contrast,
    testing::Values(ContrastRow{"BlackOnWhiteIsTheMost", colors::black, colors::white, 21.0},
                    ContrastRow{"AColourOnItselfIsNone", colors::blue, colors::blue, 1.0},
                    ContrastRow{"BlackOnBlueIsTooLittle", colors::black, colors::blue, 2.44},
                    ContrastRow{"WhiteOnBlue", colors::white, colors::blue, 8.59},
                    ContrastRow{"BlackOnRed", colors::black, colors::red, 5.25},
                    ContrastRow{"WhiteOnFusionsHighlight", colors::white, packColor(0x30, 0x8c, 0xc6), 3.69},
                    // Below 0.04045 a channel is linear: 10 is 0.003035, not 0.000 of the power law.
                    ContrastRow{"DarkChannelsAreLinear", colors::black, packColor(10, 10, 10), 1.06},
                    ContrastRow{"MidGrey", colors::white, packColor(128, 128, 128), 3.95}),
    [](const testing::TestParamInfo<ContrastRow>& info) { return std::string(info.param.name); });

// Every caption the window draws on a face of the table's own reads against it. The system-look
// button takes both from the desktop's style, and is checked in the window.
TEST(Legibility, EveryCaptionReadsAgainstItsFace) {
  int checked = 0;
  for (const ControlLayout& row : controlTable) {
    if (row.caption.empty()) continue;
    if (row.kind == Kind::Button) {
      EXPECT_FALSE(row.back || row.fore) << nameOf(row.id) << ": a system-look button takes the style's colours";
      continue;
    }
    ASSERT_TRUE(row.back && row.fore) << nameOf(row.id) << " has a caption but no face or no ink";
    EXPECT_GE(contrast(*row.fore, *row.back), legible)
        << nameOf(row.id) << ": " << row.caption << " reads at " << contrast(*row.fore, *row.back) << " : 1";
    ++checked;
  }
  // Three lamps, three off buttons, six filters, the two switches, the new sheet, the filters'
  // removal, the frame and the label.
  EXPECT_EQ(checked, 18);
}

struct NameRow {
  const char* name;
  std::string_view caption, purpose, expected;
};
void PrintTo(const NameRow& r, std::ostream* os) { *os << r.name << " (\"" << r.expected << "\")"; }

class Naming : public testing::TestWithParam<NameRow> {};

TEST_P(Naming, CaptionFirstThenPurpose) {
  EXPECT_EQ(accessibleName(GetParam().caption, GetParam().purpose), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, Naming,
    testing::Values(NameRow{"LetterThenWhatItDoes", "R", "encén la llum vermella", "R, encén la llum vermella"},
                    NameRow{"TrailingSpaceNotSaid", "BORRA TOT ", "apaga-ho tot", "BORRA TOT, apaga-ho tot"},
                    NameRow{"SpacesRunTogether", "  TINTA   DE  ", "", "TINTA DE"},
                    NameRow{"CaptionAlone", "Retira Filtres", "", "Retira Filtres"},
                    NameRow{"NoCaptionThePurposeAlone", "", "Buida el pot de mescla", "Buida el pot de mescla"},
                    NameRow{"OnlySpacesIsNoCaption", "   ", "Pinta", "Pinta"},
                    NameRow{"Nothing", "", "", ""}),
    [](const testing::TestParamInfo<NameRow>& info) { return std::string(info.param.name); });

// The caption as a name starts with it: its words, single-spaced.
std::string spoken(std::string_view caption) { return accessibleName(caption, ""); }

// Every caption each control can show: the table's, and the switches' other states.
std::vector<std::pair<Ctl, std::string_view>> captionsShown() {
  std::vector<std::pair<Ctl, std::string_view>> shown;
  for (const ControlLayout& row : controlTable) shown.emplace_back(row.id, row.caption);
  shown.emplace_back(Ctl::cmdBlanca, textos::apagaLlum);
  shown.emplace_back(Ctl::cmdAnalisi, textos::normal);
  return shown;
}

TEST(Naming, EveryNameStartsWithItsCaptionAsShown) {
  for (const auto& [c, caption] : captionsShown()) {
    const std::string name = accessibleNameFor(c, caption);
    EXPECT_TRUE(name.starts_with(spoken(caption))) << nameOf(c) << ": \"" << name << "\" for \"" << caption << "\"";
    EXPECT_EQ(name.find("  "), std::string::npos) << nameOf(c) << ": \"" << name << "\"";
    // What follows a caption continues the sentence, in lower case.
    if (!spoken(caption).empty() && name != spoken(caption)) {
      const std::string rest = name.substr(spoken(caption).size());
      ASSERT_TRUE(rest.starts_with(textos::separadorNom)) << nameOf(c) << ": \"" << name << "\"";
      const char first = rest[textos::separadorNom.size()];
      EXPECT_TRUE(first >= 'a' && first <= 'z') << nameOf(c) << ": \"" << name << "\"";
    }
  }
}

}  // namespace
}  // namespace corvani
