// The bench as the browser page sees it: the window's table, texts and menus, the controls'
// states and places, and the clicks routed to the bench's handlers, all told to the page as JSON.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/banc.h"
#include "model/controls.h"
#include "model/ports.h"
#include "view/descripcio.h"
#include "web/superficie.h"

namespace corvani::web {

class Pagina : private ControlsObserver {
public:
  // `changed` is told of every control whose state changes, as it happens.
  Pagina(Dialogs& dialogs, std::function<void(Ctl)> changed);
  ~Pagina() override;

  const Banc& banc() const { return banc_; }
  Superficie& superficie() { return superficie_; }

  // The window as it opens: title, the message boxes' title and button, the line shown once the
  // program has ended, the menu bar, the control focused first, the eye, the words for the
  // direction bar's values, and every control's row of the table, by stacking order.
  static std::string taula();
  // A control's state now: visible, enabled, caption, the name screen readers give it, back and
  // fill colours, value.
  std::string estat(Ctl c) const;
  // What a screen reader is told: the light at the eye and the shapes shown.
  std::string descripcio() const;
  // What changed for a screen reader since the last notice, in sentences, as the desktop says it
  // after an action; empty if nothing did. The change of `sentit`, which has the focus, is left
  // to the screen reader, which hears it by itself.
  std::string avis(std::optional<Ctl> sentit);
  // Lays the bench out on an area of device pixels, magnified `lupa` times over its fit (see
  // escala::amplia, with scroll bars `barra` pixels thick): the extent it spans, the viewport,
  // the view and every control's rectangle on the extent.
  std::string vista(int width, int height, double lupa = 1, int barra = 0);
  // The part of the extent the page shows: see Superficie::setWindow.
  void finestra(escala::PixelRect window) { superficie_.setWindow(window); }

  // A click on a control; only one that the bench shows as usable acts. False if it did not.
  bool click(Ctl c);
  bool choose(Menu m) { return banc_.choose(m); }
  // The direction bar moved to a value; a value it already has changes nothing.
  void barra(int value);

private:
  void controlChanged(Ctl c) override;

  Superficie superficie_;
  Banc banc_;
  std::function<void(Ctl)> changed_;
  Lectura llegit_;  // as of the last notice
};

}  // namespace corvani::web
