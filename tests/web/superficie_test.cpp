// The page's surface repaints only what changes, each place once, and what it repaints is all that
// changed: after every action the pixels are those of a whole repaint of the same bench, at
// several views.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/layout.h"
#include "tests/web/tela.h"
#include "web/pagina.h"

using namespace corvani;

namespace {

struct Silenci : Dialogs {
  void message(std::string_view) override {}
};

struct Row {
  std::string name;
  int width, height;  // the area in device pixels
  std::vector<Ctl> clicks;  // VSllum: the direction bar moved to its other value
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class Repaint : public testing::TestWithParam<Row> {};

TEST_P(Repaint, MatchesAWholeRepaintAfterEveryAction) {
  const Row& row = GetParam();
  Silenci silenci;
  web::Pagina pagina(silenci, {});
  pagina.vista(row.width, row.height);
  web::Superficie& s = pagina.superficie();
  Tela tela(s);
  tela.pinta(s);
  const std::size_t area = std::size_t(row.width) * std::size_t(row.height);
  for (std::size_t i = 0; i < row.clicks.size(); ++i) {
    if (row.clicks[i] == Ctl::VSllum)
      pagina.barra(1 - pagina.banc().controls()[Ctl::VSllum].value);
    else
      ASSERT_TRUE(pagina.click(row.clicks[i])) << "step " << i;
    tela.pinta(s);
    std::size_t painted = 0;
    const std::vector<escala::PixelRect>& rects = tela.painted();
    for (const escala::PixelRect& r : rects) painted += std::size_t(r.width) * std::size_t(r.height);
    for (std::size_t a = 0; a < rects.size(); ++a)
      for (std::size_t b = 0; b < rects.size(); ++b)
        EXPECT_FALSE(a != b && rects[a].contains(rects[b])) << "step " << i << " painted a rectangle within another";
    // Two that overlap so much that their union is no larger than both are painted once, as one.
    const auto areaOf = [](escala::PixelRect r) { return std::size_t(r.width) * std::size_t(r.height); };
    const auto unionOf = [](escala::PixelRect p, escala::PixelRect q) {
      const int left = std::min(p.left, q.left), top = std::min(p.top, q.top);
      return escala::PixelRect{left, top, std::max(p.right(), q.right()) - left, std::max(p.bottom(), q.bottom()) - top};
    };
    for (std::size_t a = 0; a < rects.size(); ++a)
      for (std::size_t b = a + 1; b < rects.size(); ++b)
        EXPECT_GT(areaOf(unionOf(rects[a], rects[b])), areaOf(rects[a]) + areaOf(rects[b]))
            << "step " << i << " painted twice what two rectangles share";
    EXPECT_LT(painted, area / 2) << "step " << i << " repainted most of the surface";
    s.setView(row.width, row.height, s.view());
    Tela whole(s);
    whole.pinta(s);
    ASSERT_EQ(tela.pixels(), whole.pixels()) << "after step " << i << ", " << layoutOf(row.clicks[i]).name;
  }
}

const Ctl R = cmdLlum(0), V = cmdLlum(1), blanca = Ctl::cmdBlanca, analisi = Ctl::cmdAnalisi;
const Ctl cian = cmdfiltre(3), groc = cmdfiltre(5), magenta = cmdfiltre(4), fora = Ctl::cmdForaFiltres;
const Ctl tinta = cmdTinta(3), tinta4 = cmdTinta(4), buida = Ctl::cmdBuidaPot, pinta = Ctl::cmdPinta;

INSTANTIATE_TEST_SUITE_P(
    Surface, Repaint,
    testing::Values(Row{"LampsAndFiltersAtScale1", 867, 618, {R, V, cian, groc, magenta, fora, blanca, blanca}},
                    Row{"AnalysisAndAFourthFilterAt1point5", 1300, 927, {blanca, cian, groc, magenta, cian, analisi, Ctl::VSllum, analisi}},
                    Row{"PotAndPaperAt3LetterBoxed", 2700, 1600, {tinta, tinta4, tinta, R, Ctl::VSllum, pinta, buida, pinta, Ctl::cmdFull, Ctl::VSllum}},
                    Row{"ResetAt2", 1734, 1236, {blanca, cian, analisi, Ctl::cmdTorna, V}}),
    [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
