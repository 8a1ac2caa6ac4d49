// The bench magnified and scrolled: the extent it spans and the viewport it is seen through, and
// the surface painting only a window of that extent, which is, after every action and every
// scroll, pixel for pixel what the whole extent painted at once shows there.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "model/layout.h"
#include "tests/web/tela.h"
#include "view/escala.h"
#include "web/pagina.h"

using namespace corvani;
using escala::PixelRect;

namespace {

struct Silenci : Dialogs {
  void message(std::string_view) override {}
};

struct Magnified {
  std::string name;
  int width, height;  // the area in device pixels
  double lupa;
  int barra;  // scroll bars' thickness
  int extentWidth, extentHeight, viewportWidth, viewportHeight;
};

void PrintTo(const Magnified& row, std::ostream* os) { *os << row.name; }

class Amplia : public testing::TestWithParam<Magnified> {};

TEST_P(Amplia, SpansTheBenchAtItsScaleAndScrollsWhereItOverflows) {
  const Magnified& row = GetParam();
  const escala::Ampliada a = escala::amplia(row.width, row.height, row.lupa, row.barra);
  EXPECT_EQ(a.width, row.extentWidth);
  EXPECT_EQ(a.height, row.extentHeight);
  EXPECT_EQ(a.viewportWidth, row.viewportWidth);
  EXPECT_EQ(a.viewportHeight, row.viewportHeight);
  const escala::Vista fit = escala::fit(row.width, row.height);
  EXPECT_EQ(a.view.scale, fit.scale * row.lupa);
  if (row.lupa == 1) {
    EXPECT_EQ(a.view.x, fit.x);
    EXPECT_EQ(a.view.y, fit.y);
  }
  // The bench within the extent, touching it where it scrolls, centred where it does not.
  const double benchWidth = escala::clientWidth * a.view.scale, benchHeight = escala::clientHeight * a.view.scale;
  EXPECT_GE(a.view.x, 0);
  EXPECT_GE(a.view.y, 0);
  EXPECT_LT(a.view.x, a.scrollsAcross() ? 1 : a.viewportWidth);
  EXPECT_LT(a.view.y, a.scrollsDown() ? 1 : a.viewportHeight);
  EXPECT_NEAR(a.width - benchWidth, 2 * a.view.x, 1e-9);
  EXPECT_NEAR(a.height - benchHeight, 2 * a.view.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Magnification, Amplia,
    testing::Values(Magnified{"AtItsFitNoBarsTheArea", 1000, 700, 1, 15, 1000, 700, 1000, 700},
                    Magnified{"AtItsFitAtRatio1point25", 1708, 933, 1, 19, 1708, 933, 1708, 933},
                    Magnified{"TwiceOnALaptopBothWays", 1366, 746, 2, 15, 2094, 1492, 1351, 731},
                    Magnified{"OneAndAQuarterDownOnlyCentredAcross", 1366, 746, 1.25, 15, 1351, 933, 1351, 746},
                    Magnified{"ABarDownNarrowsTheRoomAcross", 850, 400, 1.5, 15, 842, 600, 835, 385},
                    Magnified{"BarsOverTheContent", 1366, 746, 2, 0, 2094, 1492, 1366, 746},
                    Magnified{"FourTimesOnAFullHdScreenAtRatio3", 5760, 3174, 4, 45, 17812, 12696, 5715, 3129}),
    [](const testing::TestParamInfo<Magnified>& info) { return info.param.name; });

// A step: a click on a control (VSllum: the direction bar moved to its other value), or the
// window moved to show the viewport at a scroll offset.
struct Scroll {
  int x, y;
};
using Step = std::variant<Ctl, Scroll>;

struct Walk {
  std::string name;
  int width, height;
  double lupa;
  std::vector<Step> steps;
};

void PrintTo(const Walk& row, std::ostream* os) { *os << row.name; }

class Window : public testing::TestWithParam<Walk> {};

void play(web::Pagina& pagina, Ctl c) {
  if (c == Ctl::VSllum)
    pagina.barra(1 - pagina.banc().controls()[Ctl::VSllum].value);
  else
    ASSERT_TRUE(pagina.click(c)) << layoutOf(c).name;
}

TEST_P(Window, PaintsWhatTheWholeExtentShowsThere) {
  const Walk& row = GetParam();
  Silenci silenci;
  web::Pagina pagina(silenci, {}), whole(silenci, {});
  pagina.vista(row.width, row.height, row.lupa, 0);
  web::Superficie& s = pagina.superficie();
  const int width = s.width(), height = s.height();
  // The page lays the bench out, then shows the viewport at the top left corner.
  PixelRect window{0, 0, row.width, row.height};
  s.setWindow(window);
  Tela tela(s);
  tela.pinta(s);
  for (const PixelRect& r : tela.painted()) EXPECT_TRUE(window.contains(r)) << "laid out, painted outside the window";
  for (std::size_t i = 0; i < row.steps.size(); ++i) {
    const std::string step = "step " + std::to_string(i);
    if (const Scroll* scroll = std::get_if<Scroll>(&row.steps[i])) {
      // The viewport, within the extent.
      window = {scroll->x, scroll->y, std::min(row.width, width - scroll->x), std::min(row.height, height - scroll->y)};
      s.setWindow(window);
      tela.keepOnly(window);
    } else {
      play(pagina, std::get<Ctl>(row.steps[i]));
      play(whole, std::get<Ctl>(row.steps[i]));
    }
    tela.pinta(s);
    for (const PixelRect& r : tela.painted()) EXPECT_TRUE(window.contains(r)) << step << " painted outside the window";
    whole.vista(row.width, row.height, row.lupa, 0);
    Tela all(whole.superficie());
    all.pinta(whole.superficie());
    int differing = 0;
    for (int y = window.top; y < window.bottom(); ++y)
      for (int x = window.left; x < window.right(); ++x) differing += tela.at(x, y) != all.at(x, y);
    ASSERT_EQ(differing, 0) << step << ": pixels of the window differ from the whole extent's";
  }
  EXPECT_EQ(s.width(), width);
  EXPECT_EQ(s.height(), height);
}

const Ctl R = cmdLlum(0), blanca = Ctl::cmdBlanca, analisi = Ctl::cmdAnalisi, barra = Ctl::VSllum;
const Ctl cian = cmdfiltre(3), groc = cmdfiltre(5), fora = Ctl::cmdForaFiltres;
const Ctl tinta = cmdTinta(3), tinta4 = cmdTinta(4), pinta = Ctl::cmdPinta, full = Ctl::cmdFull;

INSTANTIATE_TEST_SUITE_P(
    Magnification, Window,
    testing::Values(
        Walk{"AlongTheRayAt4", 500, 360, 4, {blanca, Scroll{300, 400}, cian, Scroll{520, 430}, Scroll{900, 380}, analisi, Scroll{640, 360}, groc}},
        Walk{"DownToThePaperAndBackAt2point5", 400, 300, 2.5, {blanca, Scroll{200, 200}, barra, Scroll{350, 420}, analisi, Scroll{200, 200}, barra, Scroll{0, 0}}},
        Walk{"ChangesOutOfViewShownAsTheyComeInAt2", 430, 310, 2, {Scroll{0, 0}, tinta, tinta4, R, Scroll{400, 300}, pinta, Scroll{430, 0}, cian, groc, fora, full}},
        Walk{"LinesErasedOutOfViewAt3", 300, 220, 3, {Scroll{260, 160}, blanca, cian, Scroll{0, 440}, blanca, Scroll{300, 170}, R}},
        Walk{"JumpsAndOverlapsAt1point5", 600, 430, 1.5, {blanca, analisi, Scroll{290, 200}, Scroll{0, 215}, barra, Scroll{301, 0}, Scroll{5, 3}}}),
    [](const testing::TestParamInfo<Walk>& info) { return info.param.name; });

}  // namespace
