// What a screen reader is told of the bench in words: the light at the eye, and the shapes on
// the drawing surface that a pupil who cannot see them needs to know of.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/banc.h"
#include "model/controls.h"
#include "view/raig.h"

namespace corvani {

// "Arriba a l'ull llum groga.", "Arriben a l'ull llum vermella i llum verda." or
// "A l'ull no arriba cap llum."
std::string descripcioUll(LlumAlUll llum);

// A shape the surface shows, with its name: "filtre 1: groc", "paper verd",
// "pot de mescla: 2 porcions, blau" or "pot de mescla buit".
struct FormaVisible {
  Ctl forma;
  std::string nom;
  friend bool operator==(const FormaVisible&, const FormaVisible&) = default;
};
// The visible shapes in the order a pupil meets them along the bench: the filter slots, the
// paper, the pot (whose liquid is told with it rather than as a shape of its own).
std::vector<FormaVisible> formesVisibles(const Estat& estat, const Controls& controls);

// The direction bar's value in words: "La llum apunta a l'ull." or "La llum apunta al paper."
std::string_view descripcioDireccio(std::int16_t direccio);

// Everything a screen reader is told of the bench that changes as the pupil works.
struct Lectura {
  std::string blanca, analisi;  // the names of the white-light switch and the analysis button
  std::string direccio;
  std::string ull;
  std::vector<FormaVisible> formes;
};
Lectura llegeix(const Estat& estat, const Controls& controls);

// The notice after an action: in sentences, what changed from `abans` to `ara`: the buttons'
// new names ("botó Apaga Llum, apaga la llum blanca."), the direction, the light at the eye, then
// each shape shown or changed ("paper verd.") and "cap filtre." once the filters are gone. Empty if
// nothing changed. A control in `sentits` is left out: the screen reader hears its change by itself.
std::string avis(const Lectura& abans, const Lectura& ara, std::span<const Ctl> sentits = {});

}  // namespace corvani
