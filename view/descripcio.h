// What a screen reader is told of the bench in words: the light at the eye, and the shapes on
// the drawing surface that a pupil who cannot see them needs to know of.
#pragma once

#include <string>
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

}  // namespace corvani
