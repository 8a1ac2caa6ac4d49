// The bench's handlers, each doing its steps in the order the program has always done them.
#include "model/banc.h"

#include <cmath>
#include <string>
#include <utility>

#include "model/textos.h"

namespace corvani {
namespace {

// A filter lets through exactly the primaries of its own colour.
struct Filtre {
  Color color;
  std::int16_t passaR, passaG, passaB;
};
constexpr std::array<Filtre, filterCount> filtres = {{
    {colors::red, 1, 0, 0},
    {colors::green, 0, 1, 0},
    {colors::blue, 0, 0, 1},
    {colors::cyan, 0, 1, 1},
    {colors::magenta, 1, 0, 1},
    {colors::yellow, 1, 1, 0},
}};

struct Tinta {
  float r, g, b;
};
constexpr std::array<Tinta, inkCount> tintes = {{
    {255, 0, 0},    // red
    {255, 255, 255},  // white
    {0, 0, 0},      // black
    {0, 255, 255},  // cyan
    {255, 0, 255},  // magenta
    {255, 255, 0},  // yellow
    {0, 255, 0},    // green
    {0, 0, 255},    // blue
}};

// Floating point to Integer: to the nearest, halves to even (the default rounding mode).
std::int16_t arrodoneix(double x) { return static_cast<std::int16_t>(std::nearbyint(x)); }

std::int16_t mescla(float tinta, std::int16_t abans) { return arrodoneix(tinta / 255.0 * abans); }

void buidaSlot(Estat& e, int s) { e.passaR[s] = e.passaG[s] = e.passaB[s] = 1; }

}  // namespace

void repintafiltres(const Estat& estat, Surface& surface) {
  for (int s = 0; s < estat.nfiltres; ++s) surface.repaintShape(shpFiltre(s));
}

Banc::Banc(Surface& surface, Dialogs& dialogs, Pintor pintaraig)
    : surface_(surface), dialogs_(dialogs), pintaraig_(std::move(pintaraig)) {}

void Banc::Form_Load() {
  estat_.analisi = fals;
  estat_.llums = 0;
  estat_.nfiltres = 0;
  for (int slot = 0; slot < slotCount; ++slot) buidaSlot(estat_, slot);
  estat_.paperR = estat_.paperG = estat_.paperB = 255;
  buidamescla();
}

void Banc::cmdLlum_Click(int Index) {
  estat_.llums = static_cast<std::int16_t>(estat_.llums + valorLlum[Index]);
  controls_.disable(cmdLlum(Index));
  controls_.show(cmdLlumOff(Index));
  controls_.enable(cmdLlumOff(Index));
  pintaraig();
}

void Banc::cmdLlumOff_Click(int Index) {
  std::int32_t* canal[] = {&estat_.raigR, &estat_.raigG, &estat_.raigB};
  *canal[Index] = 0;
  estat_.llums = static_cast<std::int16_t>(estat_.llums - valorLlum[Index]);
  controls_.hide(cmdLlumOff(Index));
  controls_.disable(cmdLlumOff(Index));
  controls_.enable(cmdLlum(Index));
  pintaraig();
}

// The switch keeps its state in its caption: "Llum Blanca" offers white light, anything else
// means white light is on.
void Banc::cmdBlanca_Click() {
  if (controls_.caption(Ctl::cmdBlanca) == textos::llumBlanca) {
    for (int i = 0; i < lampCount; ++i) {
      controls_.disable(cmdLlum(i));
      controls_.disable(cmdLlumOff(i));
      controls_.hide(cmdLlumOff(i));
    }
    controls_.setCaption(Ctl::cmdBlanca, textos::apagaLlum);
    estat_.llums = 7;
    estat_.raigR = estat_.raigG = estat_.raigB = 255;
    pintaraig();
  } else {
    surface_.clear();
    estat_.llums = 0;
    estat_.raigR = estat_.raigG = estat_.raigB = 0;
    for (int i = 0; i < lampCount; ++i) controls_.enable(cmdLlum(i));
    controls_.setCaption(Ctl::cmdBlanca, textos::llumBlanca);
  }
}

void Banc::cmdfiltre_Click(int Index) {
  controls_.show(Ctl::cmdForaFiltres);
  if (estat_.nfiltres == slotCount) {
    dialogs_.message(textos::limitFiltres);
    estat_.nfiltres = slotCount - 1;
    buidaSlot(estat_, slotCount - 1);
  }
  const int s = estat_.nfiltres;
  const Filtre& f = filtres[Index];
  controls_.setBack(shpFiltre(s), f.color);
  if (!f.passaR) estat_.passaR[s] = 0;
  if (!f.passaG) estat_.passaG[s] = 0;
  if (!f.passaB) estat_.passaB[s] = 0;
  controls_.show(shpFiltre(s));
  ++estat_.nfiltres;
  if (estat_.llums > 0) pintaraig();
}

void Banc::cmdForaFiltres_Click() {
  for (int s = 0; s < slotCount; ++s) {
    controls_.hide(shpFiltre(s));
    buidaSlot(estat_, s);
  }
  estat_.nfiltres = 0;
  pintaraig();
  controls_.hide(Ctl::cmdForaFiltres);
}

void Banc::VSllum_Change(std::int16_t value) {
  controls_.setValue(Ctl::VSllum, value);
  surface_.clear();
  estat_.direccio = controls_[Ctl::VSllum].value;
  if (estat_.direccio == 0) {
    controls_.show(Ctl::Picture2);
    controls_.hide(Ctl::PicAvall);
  } else if (estat_.direccio == 1) {
    controls_.hide(Ctl::Picture2);
    controls_.show(Ctl::PicAvall);
  }
  pintaraig();
}

void Banc::cmdAnalisi_Click() {
  surface_.clear();
  estat_.analisi = static_cast<std::int16_t>(~estat_.analisi);
  if (estat_.analisi == cert) controls_.setCaption(Ctl::cmdAnalisi, textos::normal);
  if (estat_.analisi == fals) controls_.setCaption(Ctl::cmdAnalisi, textos::analisiDeLaLlum);
  pintaraig();
}

void Banc::cmdTinta_Click(int Index) {
  if (estat_.nivell >= potPle) {
    dialogs_.message(textos::potPle);
    return;
  }
  const Tinta& t = tintes[Index];
  estat_.tintaR = t.r;
  estat_.tintaG = t.g;
  estat_.tintaB = t.b;
  estat_.mesclaR = mescla(estat_.tintaR, estat_.mesclaR);
  estat_.mesclaG = mescla(estat_.tintaG, estat_.mesclaG);
  estat_.mesclaB = mescla(estat_.tintaB, estat_.mesclaB);
  estat_.nivell += porcio;
  const ControlState& liquid = controls_[Ctl::shpMescla];
  controls_.setHeight(Ctl::shpMescla, liquid.height.value_or(0) + porcio);
  controls_.setTop(Ctl::shpMescla, liquid.top.value_or(fonsMescla) - porcio);
  controls_.setFill(Ctl::shpMescla, packColor(estat_.mesclaR, estat_.mesclaG, estat_.mesclaB));
}

void Banc::buidamescla() {
  estat_.nivell = 0;
  estat_.mesclaR = estat_.mesclaG = estat_.mesclaB = 255;
  controls_.setHeight(Ctl::shpMescla, 0);
  controls_.setTop(Ctl::shpMescla, fonsMescla);
}

void Banc::cmdBuidaPot_Click() {
  if (estat_.nivell == 0) dialogs_.message(textos::potBuitBuidar);
  buidamescla();
}

void Banc::cmdPinta_Click() {
  if (estat_.nivell == 0) dialogs_.message(textos::potBuitPintar);
  controls_.setBack(Ctl::shpPaper, packColor(estat_.mesclaR, estat_.mesclaG, estat_.mesclaB));
  estat_.paperR = estat_.mesclaR;
  estat_.paperG = estat_.mesclaG;
  estat_.paperB = estat_.mesclaB;
  if (estat_.llums > 0) pintaraig();
}

void Banc::cmdFull_Click() {
  controls_.show(Ctl::shpPaper);
  estat_.paperR = estat_.paperG = estat_.paperB = 255;
  controls_.setBack(Ctl::shpPaper, colors::white);
  surface_.clear();
  pintaraig();
}

void Banc::reinicia() {
  for (int i = 0; i < slotCount; ++i) {
    controls_.hide(shpFiltre(i));
    buidaSlot(estat_, i);
    controls_.hide(cmdLlumOff(i));
    controls_.enable(cmdLlum(i));
  }
  estat_.llums = 0;
  estat_.nfiltres = 0;
  controls_.setCaption(Ctl::cmdBlanca, textos::llumBlanca);
  controls_.hide(Ctl::cmdForaFiltres);
}

void Banc::mostraMode(bool filtres, bool tintes) {
  for (int i = 0; i < filterCount; ++i) controls_.setVisible(cmdfiltre(i), filtres);
  surface_.clear();
  reinicia();
  controls_.setVisible(Ctl::frmFiltres, filtres);
  for (int i = 3; i <= 5; ++i) controls_.setVisible(cmdTinta(i), tintes);
  for (Ctl c : {Ctl::Label2, Ctl::shpMescla, Ctl::shpPotMescla, Ctl::cmdBuidaPot, Ctl::cmdPinta})
    controls_.setVisible(c, tintes);
}

void Banc::cmdTorna_Click() {
  surface_.clear();
  reinicia();
}

void Banc::mnuFiltres_Click() { mostraMode(true, false); }
void Banc::mnuTintes_Click() { mostraMode(false, true); }
void Banc::mnuComplet_Click() { mostraMode(true, true); }

void Banc::mnusobre_Click() {
  std::string text;
  for (std::string_view piece : textos::sobre) text += piece;
  dialogs_.message(text);
}
void Banc::mnuComFunciona_Click() { dialogs_.message(textos::comFunciona); }
void Banc::mnuMesInfo_Click() { dialogs_.message(textos::mesInformacio); }

bool Banc::click(Ctl c) {
  for (int i = 0; i < lampCount; ++i) {
    if (c == cmdLlum(i)) return cmdLlum_Click(i), true;
    if (c == cmdLlumOff(i)) return cmdLlumOff_Click(i), true;
  }
  for (int i = 0; i < filterCount; ++i)
    if (c == cmdfiltre(i)) return cmdfiltre_Click(i), true;
  for (int i = 0; i < inkCount; ++i)
    if (c == cmdTinta(i)) return cmdTinta_Click(i), true;
  switch (c) {
    case Ctl::cmdBlanca: cmdBlanca_Click(); return true;
    case Ctl::cmdForaFiltres: cmdForaFiltres_Click(); return true;
    case Ctl::cmdAnalisi: cmdAnalisi_Click(); return true;
    case Ctl::cmdBuidaPot: cmdBuidaPot_Click(); return true;
    case Ctl::cmdPinta: cmdPinta_Click(); return true;
    case Ctl::cmdFull: cmdFull_Click(); return true;
    case Ctl::cmdTorna: cmdTorna_Click(); return true;
    default: return false;
  }
}

bool Banc::choose(Menu m) {
  switch (m) {
    case Menu::mnusobre: mnusobre_Click(); return true;
    case Menu::mnuComFunciona: mnuComFunciona_Click(); return true;
    case Menu::mnuMesInfo: mnuMesInfo_Click(); return true;
    case Menu::mnuFiltres: mnuFiltres_Click(); return true;
    case Menu::mnuTintes: mnuTintes_Click(); return true;
    case Menu::mnuComplet: mnuComplet_Click(); return true;
    case Menu::mnuSortir: return false;
  }
  return false;
}

}  // namespace corvani
