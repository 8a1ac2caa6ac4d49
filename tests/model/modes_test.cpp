// The three modes of the Opcions menu and "BORRA TOT", from several states of the bench.
#include <gtest/gtest.h>

#include "support.h"

namespace corvani {
namespace {

struct Operation {
  const char* name;
  void (Banc::*run)();
  bool setsHalves;
  bool showsFilters, showsInks;
};
const Operation operations[] = {
    {"Filtres", &Banc::mnuFiltres_Click, true, true, false},
    {"Tintes", &Banc::mnuTintes_Click, true, false, true},
    {"Complet", &Banc::mnuComplet_Click, true, true, true},
    {"Torna", &Banc::cmdTorna_Click, false, false, false},
};

struct Start {
  const char* name;
  void (*prepare)(Banc&);
};
const Start starts[] = {
    {"Fresh", [](Banc&) {}},
    {"ThreeFiltersWhiteLight",
     [](Banc& k) {
       for (int i : {3, 4, 5}) k.cmdfiltre_Click(i);
       k.cmdBlanca_Click();
     }},
    {"GreenAnalysisDownInksPaper",
     [](Banc& k) {
       k.cmdLlum_Click(1);
       k.cmdfiltre_Click(1);
       k.cmdAnalisi_Click();
       k.VSllum_Change(1);
       k.cmdTinta_Click(3);
       k.cmdTinta_Click(5);
       k.cmdPinta_Click();
     }},
    {"AfterNomesTintes", [](Banc& k) { k.mnuTintes_Click(); }},
};

// Built from what each operation is meant to do, so that any other change to the bench shows up.
Instant expectedAfter(Instant s, const Operation& op) {
  auto show = [&](Ctl c, bool v) { s[c].visible = v; };
  for (int i = 0; i < slotCount; ++i) {
    show(shpFiltre(i), false);
    s.estat.passaR[i] = s.estat.passaG[i] = s.estat.passaB[i] = 1;
    show(cmdLlumOff(i), false);
    s[cmdLlum(i)].enabled = true;
  }
  s.estat.llums = 0;
  s.estat.nfiltres = 0;
  s[Ctl::cmdBlanca].caption = "Llum Blanca";
  show(Ctl::cmdForaFiltres, false);
  ++s.clears;
  if (op.setsHalves) {
    for (int i = 0; i < filterCount; ++i) show(cmdfiltre(i), op.showsFilters);
    show(Ctl::frmFiltres, op.showsFilters);
    for (Ctl c : {cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Label2, Ctl::shpMescla, Ctl::shpPotMescla,
                  Ctl::cmdBuidaPot, Ctl::cmdPinta})
      show(c, op.showsInks);
  }
  return s;
}

class Modes : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(Modes, ResetTheLightsAndFiltersAndSetTheHalvesOnly) {
  const Operation& op = operations[std::get<0>(GetParam())];
  Bench b;
  starts[std::get<1>(GetParam())].prepare(b.banc);
  const Instant expected = expectedAfter(instant(b), op);
  (b.banc.*op.run)();
  expectSame(expected, instant(b));
}

INSTANTIATE_TEST_SUITE_P(Modes, Modes, testing::Combine(testing::Range(0, 4), testing::Range(0, 4)),
                         [](const auto& info) {
                           return std::string(operations[std::get<0>(info.param)].name) + "_From" +
                                  starts[std::get<1>(info.param)].name;
                         });

}  // namespace
}  // namespace corvani
