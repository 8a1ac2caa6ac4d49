// What screen readers reach of the drawing surface: its visible shapes as children with Catalan
// names, and a notice of the light at the eye that is spoken when that light changes, even though
// the eye never has the focus.
#pragma once

namespace corvani {

class Llenc;

// Gives the drawing surface its accessible children; call before the first surface is shown.
void installSurfaceAccessibility();

// The light at the eye has changed: screen readers are told through the notice, which AT-SPI
// announces as a notification being shown.
void anunciaLlumAlUll(Llenc& llenc);
// The surface's visible shapes, or their names, have changed.
void anunciaFormes(Llenc& llenc);

}  // namespace corvani
