// Which committed picture each name of the window's table is: its PNG here, without ".png".
#pragma once

#include <array>
#include <string_view>

#include "model/layout.h"

namespace corvani {

constexpr std::string_view pictureName(Picture picture) {
  constexpr std::array<std::string_view, inkCount> tintes = {"tinta_vermell", "tinta_blanc", "tinta_negre",
                                                             "tinta_cian",    "tinta_magenta", "tinta_groc",
                                                             "tinta_verd",    "tinta_blau"};
  switch (picture) {
    case Picture::None: return {};
    case Picture::Icona: return "icona";
    case Picture::Llum: return "llum";
    case Picture::LlumAvall: return "llum_avall";
    case Picture::Ull: return "ull";
    case Picture::BuidaPot: return "buida_pot";
    case Picture::Pinta: return "pinta";
    default: return tintes[static_cast<int>(picture) - static_cast<int>(Picture::Tinta0)];
  }
}

}  // namespace corvani
