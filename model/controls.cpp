// The controls' states as the window opens, taken from the window's table.
#include "model/controls.h"

#include "model/layout.h"

namespace corvani {

Controls::Controls() {
  for (const ControlLayout& row : controlTable) {
    ControlState& s = states_[ord(row.id)];
    s.visible = row.visible;
    s.caption = std::string(row.caption);
    s.back = row.back.value_or(colors::black);
    s.fill = row.fill.value_or(colors::black);
  }
}

}  // namespace corvani
