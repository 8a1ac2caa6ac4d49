// What screen readers reach of the drawing surface: its visible shapes as children with Catalan
// names, and a notice of what has just changed on the bench, spoken as it is shown even though
// the surface never has the focus.
#pragma once

#include <vector>

class QString;

namespace corvani {

class Llenc;
struct FormaVisible;

// Gives the drawing surface its accessible children; call before the first surface is shown.
void installSurfaceAccessibility();

// Tells screen readers `text` through the notice, which AT-SPI announces as a notification being
// shown: the one event of Qt 6.4's that Orca speaks whatever has the focus.
void anuncia(Llenc& llenc, const QString& text);
// The surface's shapes have gone from `abans` to `ara`: the children that came, went or were
// renamed are reported, so that a screen reader's copy of the tree follows.
void canviaFormes(Llenc& llenc, const std::vector<FormaVisible>& abans, const std::vector<FormaVisible>& ara);

}  // namespace corvani
