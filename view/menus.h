// The menu bar, for every front end: its entries left to right, each an item that acts at once or
// a menu of items from the top down, with their texts (an ampersand marks the access letter).
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "model/banc.h"
#include "model/textos.h"

namespace corvani {

struct MenuItem {
  std::string_view text;
  Menu id;
};
struct MenuBarEntry {
  std::string_view text;
  std::optional<Menu> id;  // an item of the bar itself; empty for a menu of items
  std::array<MenuItem, 3> items;
};

inline constexpr std::array<MenuBarEntry, 3> barraMenus = {{
    {textos::mnuSortir, Menu::mnuSortir, {}},
    {textos::mnuInfo,
     std::nullopt,
     {{{textos::mnusobre, Menu::mnusobre},
       {textos::mnuComFunciona, Menu::mnuComFunciona},
       {textos::mnuMesInfo, Menu::mnuMesInfo}}}},
    {textos::mnuOpcions,
     std::nullopt,
     {{{textos::mnuFiltres, Menu::mnuFiltres},
       {textos::mnuTintes, Menu::mnuTintes},
       {textos::mnuComplet, Menu::mnuComplet}}}},
}};

}  // namespace corvani
