// What a screen reader is told of the bench, after real handlers and the real ray drawing: the
// light at the eye and the shapes on the surface, and the notice of what an action changed.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/banc.h"
#include "view/descripcio.h"
#include "view/raig.h"

namespace corvani {
namespace {

struct Blank : Surface {
  void clear() override {}
  void setLineWidth(int) override {}
  void line(Point, Point, Color) override {}
  void repaintShape(Ctl) override {}
};
struct Silent : Dialogs {
  void message(std::string_view) override {}
};

using Accio = std::function<void(Banc&)>;
Accio llum(int i) { return [i](Banc& b) { b.cmdLlum_Click(i); }; }
Accio apaga(int i) { return [i](Banc& b) { b.cmdLlumOff_Click(i); }; }
Accio filtre(int i) { return [i](Banc& b) { b.cmdfiltre_Click(i); }; }
Accio tinta(int i) { return [i](Banc& b) { b.cmdTinta_Click(i); }; }
const Accio blanca = [](Banc& b) { b.cmdBlanca_Click(); };
const Accio analisi = [](Banc& b) { b.cmdAnalisi_Click(); };
const Accio avall = [](Banc& b) { b.VSllum_Change(1); };
const Accio pinta = [](Banc& b) { b.cmdPinta_Click(); };
const Accio nomesFiltres = [](Banc& b) { b.mnuFiltres_Click(); };
const Accio nomesTintes = [](Banc& b) { b.mnuTintes_Click(); };
const Accio borraTot = [](Banc& b) { b.cmdTorna_Click(); };
const Accio foraFiltres = [](Banc& b) { b.cmdForaFiltres_Click(); };
const Accio buida = [](Banc& b) { b.cmdBuidaPot_Click(); };
const Accio complet = [](Banc& b) { b.mnuComplet_Click(); };
enum { vermell, verd, blau, cian, magenta, groc };  // filters and lamps 0..2 by index
enum { tCian = 3, tMagenta = 4, tGroc = 5 };         // inks

// A bench as the window opens, after some actions.
struct BancObert {
  Blank surface;
  Silent dialogs;
  Banc banc{surface, dialogs, &pintaraig};
  explicit BancObert(const std::vector<Accio>& accions) {
    banc.Form_Load();
    for (const Accio& a : accions) a(banc);
  }
  Lectura lectura() const { return llegeix(banc.estat(), banc.controls()); }
};

struct Cas {
  const char* nom;
  std::vector<Accio> accions;
  std::string ull;
  std::vector<std::string> formes;
};
void PrintTo(const Cas& c, std::ostream* os) { *os << c.nom; }

const std::string cap = "A l'ull no arriba cap llum.";
const std::string paperBlanc = "paper blanc", potBuit = "pot de mescla buit";

const Cas casos[] = {
    {"AtStart", {}, cap, {paperBlanc, potBuit}},
    {"RedLamp", {llum(vermell)}, "Arriba a l'ull llum vermella.", {paperBlanc, potBuit}},
    {"RedAndGreenMakeYellow", {llum(vermell), llum(verd)}, "Arriba a l'ull llum groga.", {paperBlanc, potBuit}},
    {"GreenOffLeavesRed", {llum(vermell), llum(verd), apaga(verd)}, "Arriba a l'ull llum vermella.",
     {paperBlanc, potBuit}},
    {"AllLampsOffAfterWhite", {blanca, blanca}, cap, {paperBlanc, potBuit}},
    {"WhiteThroughYellow", {blanca, filtre(groc)}, "Arriba a l'ull llum groga.",
     {"filtre 1: groc", paperBlanc, potBuit}},
    {"RedThenGreenFilterBlockEverything", {blanca, filtre(vermell), filtre(verd)}, cap,
     {"filtre 1: vermell", "filtre 2: verd", paperBlanc, potBuit}},
    {"FilterWithoutLampDrawsNothing", {filtre(groc)}, cap, {"filtre 1: groc", paperBlanc, potBuit}},
    {"FourthFilterReplacesSlot2", {blanca, filtre(cian), filtre(groc), filtre(blau), filtre(verd)},
     "Arriba a l'ull llum verda.", {"filtre 1: cian", "filtre 2: groc", "filtre 3: verd", paperBlanc, potBuit}},
    {"FiltersRemoved", {blanca, filtre(blau), foraFiltres}, "Arriba a l'ull llum blanca.", {paperBlanc, potBuit}},
    {"AnalysisOfWhite", {blanca, analisi}, "Arriben a l'ull llum vermella, llum verda i llum blava.",
     {paperBlanc, potBuit}},
    {"AnalysisOfMagenta", {llum(vermell), llum(blau), analisi}, "Arriben a l'ull llum vermella i llum blava.",
     {paperBlanc, potBuit}},
    {"AnalysisOfOneComponent", {blanca, filtre(vermell), analisi}, "Arriba a l'ull llum vermella.",
     {"filtre 1: vermell", paperBlanc, potBuit}},
    {"AnalysisInTheDark", {analisi}, cap, {paperBlanc, potBuit}},
    {"DownOffWhitePaper", {blanca, avall}, "Arriba a l'ull llum blanca.", {paperBlanc, potBuit}},
    {"DownOffYellowPaper", {tinta(tGroc), pinta, blanca, avall}, "Arriba a l'ull llum groga.",
     {"paper groc", "pot de mescla: 1 porció, groc"}},
    {"RedOffBluePaperIsDark", {tinta(tCian), tinta(tMagenta), pinta, avall, llum(vermell)}, cap,
     {"paper blau", "pot de mescla: 2 porcions, blau"}},
    {"StraightIgnoresThePaper", {tinta(tCian), tinta(tMagenta), pinta, llum(vermell)},
     "Arriba a l'ull llum vermella.", {"paper blau", "pot de mescla: 2 porcions, blau"}},
    {"DownAnalysisOffYellowPaper", {tinta(tGroc), pinta, blanca, avall, analisi},
     "Arriben a l'ull llum vermella i llum verda.", {"paper groc", "pot de mescla: 1 porció, groc"}},
    {"PaintingFromAnEmptyPotKeepsWhite", {blanca, avall, pinta}, "Arriba a l'ull llum blanca.",
     {paperBlanc, potBuit}},
    {"FullPotIsBlack", {tinta(tCian), tinta(tMagenta), tinta(tGroc)}, cap,
     {paperBlanc, "pot de mescla: 3 porcions, negre"}},
    {"OnlyFiltersHidesThePotAndDarkens", {blanca, filtre(groc), tinta(tCian), nomesFiltres}, cap, {paperBlanc}},
    {"OnlyInksHidesNoShape", {blanca, tinta(tCian), nomesTintes}, cap,
     {paperBlanc, "pot de mescla: 1 porció, cian"}},
    {"ClearAllDarkensButKeepsThePaper", {tinta(tGroc), pinta, blanca, borraTot}, cap,
     {"paper groc", "pot de mescla: 1 porció, groc"}},
    {"LampAfterClearAllLightsAgain", {blanca, borraTot, llum(blau)}, "Arriba a l'ull llum blava.",
     {paperBlanc, potBuit}},
};

class Lector : public testing::TestWithParam<Cas> {};

TEST_P(Lector, TellsTheLightAtTheEyeAndTheShapes) {
  const BancObert obert(GetParam().accions);
  const Banc& banc = obert.banc;
  EXPECT_EQ(descripcioUll(llumAlUll(banc.estat())), GetParam().ull);
  std::vector<std::string> noms;
  for (const FormaVisible& f : formesVisibles(banc.estat(), banc.controls())) noms.push_back(f.nom);
  EXPECT_EQ(noms, GetParam().formes);
}

INSTANTIATE_TEST_SUITE_P(Descripcio, Lector, testing::ValuesIn(casos),
                         [](const testing::TestParamInfo<Cas>& info) { return std::string(info.param.nom); });

// The notice after one action, from the bench it leaves; `sentits` are the controls whose own
// change the screen reader hears by itself.
struct CasAvis {
  const char* nom;
  std::vector<Accio> abans;
  Accio accio;
  std::vector<Ctl> sentits;
  std::string avis;
};
void PrintTo(const CasAvis& c, std::ostream* os) { *os << c.nom; }

const CasAvis avisos[] = {
    {"NothingChangedNothingTold", {}, borraTot, {}, ""},
    {"WhiteLightOn", {}, blanca, {}, "botó Apaga Llum, apaga la llum blanca. Arriba a l'ull llum blanca."},
    {"FocusedSwitchHeardByItself", {}, blanca, {Ctl::cmdBlanca}, "Arriba a l'ull llum blanca."},
    {"AnalysisInTheDark", {}, analisi, {}, "botó normal, torna a la llum normal."},
    {"TurnedDownOffYellowPaper", {tinta(tGroc), pinta, blanca}, avall, {},
     "La llum apunta al paper. Arriba a l'ull llum groga."},
    {"FocusedBarHeardByItself", {}, avall, {Ctl::VSllum}, ""},
    {"FocusedEyeHeardByItself", {}, llum(vermell), {Ctl::Picture1}, ""},
    {"FilterPut", {}, filtre(groc), {}, "filtre 1: groc."},
    {"FourthFilterReplacesTheThird", {filtre(cian), filtre(groc), filtre(blau)}, filtre(verd), {}, "filtre 3: verd."},
    {"FiltersTakenOut", {blanca, filtre(blau)}, foraFiltres, {}, "Arriba a l'ull llum blanca. cap filtre."},
    {"ClearAllTellsEachChange", {blanca, filtre(groc)}, borraTot, {},
     "botó Llum Blanca, encén la llum blanca. A l'ull no arriba cap llum. cap filtre."},
    {"InkPoured", {}, tinta(tCian), {}, "pot de mescla: 1 porció, cian."},
    {"PotEmptied", {tinta(tCian)}, buida, {}, "pot de mescla buit."},
    {"PaperPainted", {tinta(tCian)}, pinta, {}, "paper cian."},
    {"HiddenPotUntold", {tinta(tCian)}, nomesFiltres, {}, ""},
    {"PotShownAgain", {tinta(tCian), nomesFiltres}, complet, {}, "pot de mescla: 1 porció, cian."},
};

class Avis : public testing::TestWithParam<CasAvis> {};

TEST_P(Avis, TellsWhatTheActionChanged) {
  BancObert obert(GetParam().abans);
  const Lectura abans = obert.lectura();
  GetParam().accio(obert.banc);
  EXPECT_EQ(avis(abans, obert.lectura(), GetParam().sentits), GetParam().avis);
}

INSTANTIATE_TEST_SUITE_P(Descripcio, Avis, testing::ValuesIn(avisos),
                         [](const testing::TestParamInfo<CasAvis>& info) { return std::string(info.param.nom); });

}  // namespace
}  // namespace corvani
