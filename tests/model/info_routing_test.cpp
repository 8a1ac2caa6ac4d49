// The information texts, and the routing of clicks and menu items to their handlers.
#include <gtest/gtest.h>

#include <algorithm>

#include "support.h"

namespace corvani {
namespace {

std::size_t codePoints(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

const std::string sobre = std::string("Corvani . Versió 1 .  . Equip Corvani .  maig 2004  .   ") + " ";
const std::string comFunciona =
    "amb llum blanca o amb els colors podeu enviar un raig de llum. Podeu interposar filtres de colors per veure "
    "quina llum arriba a l'ull. Podeu analitzar la llum i veure cada una de les tres components de colors bàsics. "
    "També és possible pintar un paper amb colors-pigment primaris  o les seves mescles i veure com és la llum que "
    "surt  ";
const std::string mesInformacio =
    "Mescla de llum: els colors vermell, verd i blau es comporten com a colors-llum primaris. Mescla de pigments: "
    "Com a la tinta: Cada color-pigment primari absorbeix el seu complementari (que és un color-llum primari). A la "
    "mescla de pigments es suma l'efecte d'absorció de cada pigment. Els filtre spimaris deixen passar un sol color "
    "llum. Els filtres secundaris deixen passar dos colors-llum";

struct InfoRow {
  const char* name;
  Menu menu;
  const std::string* text;
  std::size_t length;
};
void PrintTo(const InfoRow& r, std::ostream* os) { *os << r.name << " (" << r.length << " characters)"; }
class Info : public testing::TestWithParam<InfoRow> {};

TEST_P(Info, ShowsItsTextExactlyAndChangesNothing) {
  const InfoRow& row = GetParam();
  ASSERT_EQ(codePoints(*row.text), row.length);
  Bench b;
  b.banc.cmdLlum_Click(2);
  b.banc.cmdTinta_Click(4);
  Instant expected = instant(b);
  expected.shown.push_back(*row.text);
  ASSERT_TRUE(b.banc.choose(row.menu));
  expectSame(expected, instant(b));
}

INSTANTIATE_TEST_SUITE_P(Info, Info,
                         testing::Values(InfoRow{"Sobre", Menu::mnusobre, &sobre, 57},
                                         InfoRow{"ComFunciona", Menu::mnuComFunciona, &comFunciona, 333},
                                         InfoRow{"MesInfo", Menu::mnuMesInfo, &mesInformacio, 389}),
                         [](const auto& info) { return std::string(info.param.name); });

using Handler = std::function<void(Banc&)>;

std::vector<std::pair<Ctl, Handler>> clickable() {
  std::vector<std::pair<Ctl, Handler>> rows;
  for (int i = 0; i < lampCount; ++i) {
    rows.push_back({cmdLlum(i), [i](Banc& k) { k.cmdLlum_Click(i); }});
    rows.push_back({cmdLlumOff(i), [i](Banc& k) { k.cmdLlumOff_Click(i); }});
  }
  for (int i = 0; i < filterCount; ++i) rows.push_back({cmdfiltre(i), [i](Banc& k) { k.cmdfiltre_Click(i); }});
  for (int i = 0; i < inkCount; ++i) rows.push_back({cmdTinta(i), [i](Banc& k) { k.cmdTinta_Click(i); }});
  rows.push_back({Ctl::cmdBlanca, &Banc::cmdBlanca_Click});
  rows.push_back({Ctl::cmdForaFiltres, &Banc::cmdForaFiltres_Click});
  rows.push_back({Ctl::cmdAnalisi, &Banc::cmdAnalisi_Click});
  rows.push_back({Ctl::cmdBuidaPot, &Banc::cmdBuidaPot_Click});
  rows.push_back({Ctl::cmdPinta, &Banc::cmdPinta_Click});
  rows.push_back({Ctl::cmdFull, &Banc::cmdFull_Click});
  rows.push_back({Ctl::cmdTorna, &Banc::cmdTorna_Click});
  return rows;
}

// A state where every handler, and every index of an array, leaves a different trace.
void prepare(Banc& k) {
  k.cmdLlum_Click(0);
  k.cmdLlum_Click(1);
  k.cmdLlum_Click(2);
  k.cmdfiltre_Click(0);
  k.cmdTinta_Click(3);
}

TEST(Routing, EveryControlClicksThroughToItsHandlerOrToNothing) {
  const auto rows = clickable();
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    SCOPED_TRACE(nameOf(c));
    const Kind kind = layoutOf(c).kind;
    const bool button = kind == Kind::Button || kind == Kind::GraphicalButton;
    Bench routed, direct;
    prepare(routed.banc);
    prepare(direct.banc);
    auto row = std::find_if(rows.begin(), rows.end(), [c](const auto& r) { return r.first == c; });
    ASSERT_EQ(row != rows.end(), button);
    if (button) row->second(direct.banc);
    EXPECT_EQ(routed.banc.click(c), button);
    expectSame(instant(direct), instant(routed));
  }
}

TEST(Routing, EveryMenuItemReachesItsHandlerButSortir) {
  const std::pair<Menu, Handler> rows[] = {
      {Menu::mnuSortir, nullptr},
      {Menu::mnusobre, &Banc::mnusobre_Click},
      {Menu::mnuComFunciona, &Banc::mnuComFunciona_Click},
      {Menu::mnuMesInfo, &Banc::mnuMesInfo_Click},
      {Menu::mnuFiltres, &Banc::mnuFiltres_Click},
      {Menu::mnuTintes, &Banc::mnuTintes_Click},
      {Menu::mnuComplet, &Banc::mnuComplet_Click},
  };
  for (const auto& [menu, handler] : rows) {
    SCOPED_TRACE(static_cast<int>(menu));
    Bench routed, direct;
    prepare(routed.banc);
    prepare(direct.banc);
    if (handler) handler(direct.banc);
    EXPECT_EQ(routed.banc.choose(menu), handler != nullptr);
    expectSame(instant(direct), instant(routed));
  }
}

}  // namespace
}  // namespace corvani
