// The bench told in Catalan words for screen readers.
#include "view/descripcio.h"

#include <algorithm>

#include "model/color.h"
#include "model/layout.h"
#include "model/textos.h"

namespace corvani {
namespace {

// A colour's primaries as the lamps' bits, red 4, green 2, blue 1: the index of its words.
int bits(bool r, bool g, bool b) { return (r ? 4 : 0) + (g ? 2 : 0) + (b ? 1 : 0); }
int bits(Color c) { return bits(redOf(c) > 0, greenOf(c) > 0, blueOf(c) > 0); }

std::string nomColor(Color c) { return std::string(textos::colorDe[bits(c)]); }

bool esFiltre(const FormaVisible& f) {
  for (int s = 0; s < slotCount; ++s)
    if (f.forma == shpFiltre(s)) return true;
  return false;
}

// Appends a sentence, with its full stop.
void afegeix(std::string& text, std::string_view frase) {
  if (!text.empty()) text += ' ';
  text += frase;
  if (!frase.ends_with('.')) text += '.';
}

}  // namespace

std::string descripcioUll(LlumAlUll llum) {
  std::vector<std::string_view> llums;
  if (llum.components) {
    for (int primari : {4, 2, 1})
      if (bits(llum.r, llum.g, llum.b) & primari) llums.push_back(textos::llumDeColor[primari]);
  } else if (bits(llum.r, llum.g, llum.b) != 0) {
    llums.push_back(textos::llumDeColor[bits(llum.r, llum.g, llum.b)]);
  }
  if (llums.empty()) return std::string(textos::ullSenseLlum);
  std::string text(llums.size() == 1 ? textos::arribaAlUll : textos::arribenAlUll);
  for (std::size_t k = 0; k < llums.size(); ++k) {
    if (k > 0) text += k + 1 == llums.size() ? textos::unio : ", ";
    text += llums[k];
  }
  return text + ".";
}

std::vector<FormaVisible> formesVisibles(const Estat& estat, const Controls& controls) {
  std::vector<FormaVisible> formes;
  for (int s = 0; s < slotCount; ++s)
    if (controls.visible(shpFiltre(s)))
      formes.push_back({shpFiltre(s), std::string(textos::filtreNumero) + std::to_string(s + 1) + ": " +
                                          nomColor(controls[shpFiltre(s)].back)});
  if (controls.visible(Ctl::shpPaper))
    formes.push_back({Ctl::shpPaper, std::string(textos::paper) + nomColor(controls[Ctl::shpPaper].back)});
  if (controls.visible(Ctl::shpPotMescla)) {
    const int porcions = static_cast<int>(estat.nivell / porcio);
    std::string nom(textos::potBuit);
    if (porcions > 0)
      nom = std::string(textos::pot) + std::to_string(porcions) + std::string(porcions == 1 ? textos::porcio : textos::porcions) +
            nomColor(packColor(estat.mesclaR, estat.mesclaG, estat.mesclaB));
    formes.push_back({Ctl::shpPotMescla, nom});
  }
  return formes;
}

std::string_view descripcioDireccio(std::int16_t direccio) { return textos::direccioLlum[direccio == 0 ? 0 : 1]; }

Lectura llegeix(const Estat& estat, const Controls& controls) {
  return {accessibleNameFor(Ctl::cmdBlanca, controls.caption(Ctl::cmdBlanca)),
          accessibleNameFor(Ctl::cmdAnalisi, controls.caption(Ctl::cmdAnalisi)),
          std::string(descripcioDireccio(controls[Ctl::VSllum].value)), descripcioUll(llumAlUll(estat)),
          formesVisibles(estat, controls)};
}

std::string avis(const Lectura& abans, const Lectura& ara, std::span<const Ctl> sentits) {
  const auto dit = [&](Ctl c, const std::string& era, const std::string& es) {
    return era != es && std::find(sentits.begin(), sentits.end(), c) == sentits.end();
  };
  std::string text;
  if (dit(Ctl::cmdBlanca, abans.blanca, ara.blanca)) afegeix(text, std::string(textos::boto) + ara.blanca);
  if (dit(Ctl::cmdAnalisi, abans.analisi, ara.analisi)) afegeix(text, std::string(textos::boto) + ara.analisi);
  if (dit(Ctl::VSllum, abans.direccio, ara.direccio)) afegeix(text, ara.direccio);
  if (dit(Ctl::Picture1, abans.ull, ara.ull)) afegeix(text, ara.ull);
  for (const FormaVisible& f : ara.formes)
    if (std::find(abans.formes.begin(), abans.formes.end(), f) == abans.formes.end()) afegeix(text, f.nom);
  if (std::any_of(abans.formes.begin(), abans.formes.end(), esFiltre) &&
      std::none_of(ara.formes.begin(), ara.formes.end(), esFiltre))
    afegeix(text, textos::capFiltre);
  return text;
}

}  // namespace corvani
