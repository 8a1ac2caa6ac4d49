// How screen readers see the window's own controls and menus, where Qt's defaults would say too
// much, too little or a number.
#pragma once

namespace corvani {

// Installs the interfaces of the push buttons, picture boxes, direction bar and menu items; call
// before the first of them is made.
void installControlAccessibility();

}  // namespace corvani
