// The bench: its state, and the handlers of the lamps, filters, direction, analysis, ink pot,
// paper, modes and information texts, acting on the toolkit-free description of the controls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "model/controls.h"
#include "model/ports.h"

namespace corvani {

// Booleans are Integers holding -1 or 0.
inline constexpr std::int16_t cert = -1;
inline constexpr std::int16_t fals = 0;

// The whole memory of the program. Channel values 0..255, pass flags 0/1, heights in drawing units.
struct Estat {
  std::int16_t llums = 0;  // lamps on, as bits: red 4, green 2, blue 1
  std::int32_t raigR = 0, raigG = 0, raigB = 0;
  std::int16_t nfiltres = 0;
  std::array<std::int16_t, 4> passaR{}, passaG{}, passaB{};  // by filter slot; index 3 is never read
  std::int16_t analisi = fals;
  std::int16_t direccio = 0;  // 0 lamp straight at the eye, 1 lamp down at the paper
  std::int16_t paperR = 0, paperG = 0, paperB = 0;
  float nivell = 0;  // height of the liquid in the pot: 300 a portion, 900 full
  std::int16_t mesclaR = 0, mesclaG = 0, mesclaB = 0;
  float tintaR = 0, tintaG = 0, tintaB = 0;
  friend bool operator==(const Estat&, const Estat&) = default;
};

inline constexpr std::array<std::int16_t, lampCount> valorLlum = {4, 2, 1};
inline constexpr float porcio = 300;       // one portion of ink
inline constexpr float potPle = 900;       // three portions
inline constexpr float fonsMescla = 2100;  // the liquid's bottom edge, fixed

enum class Menu : std::uint8_t { mnuSortir, mnusobre, mnuComFunciona, mnuMesInfo, mnuFiltres, mnuTintes, mnuComplet };

// Repaints the filter shapes of the occupied slots, in slot order, over the lines just drawn.
void repintafiltres(const Estat& estat, Surface& surface);

class Banc {
public:
  // Draws the ray from the state; the handlers call it wherever the program redraws.
  using Pintor = std::function<void(Estat&, Surface&)>;

  Banc(Surface& surface, Dialogs& dialogs, Pintor pintaraig);

  const Estat& estat() const { return estat_; }
  const Controls& controls() const { return controls_; }
  Controls& controls() { return controls_; }

  void Form_Load();

  void cmdLlum_Click(int Index);
  void cmdLlumOff_Click(int Index);
  void cmdBlanca_Click();

  void cmdfiltre_Click(int Index);
  void cmdForaFiltres_Click();

  void VSllum_Change(std::int16_t value);  // value: the scroll bar's new position
  void cmdAnalisi_Click();

  void cmdTinta_Click(int Index);
  void buidamescla();
  void cmdBuidaPot_Click();
  void cmdPinta_Click();
  void cmdFull_Click();

  void cmdTorna_Click();
  void mnuFiltres_Click();
  void mnuTintes_Click();
  void mnuComplet_Click();

  void mnusobre_Click();
  void mnuComFunciona_Click();
  void mnuMesInfo_Click();

  // A click on any clickable control, routed to its handler with its index; false if the
  // control has no click handler.
  bool click(Ctl c);
  // The menu items that the bench handles; mnuSortir belongs to the window.
  bool choose(Menu m);

private:
  void pintaraig() { pintaraig_(estat_, surface_); }
  void reinicia();  // lamps off and filters out, shared by the modes and "BORRA TOT"
  void mostraMode(bool filtres, bool tintes);

  Estat estat_;
  Controls controls_;
  Surface& surface_;
  Dialogs& dialogs_;
  Pintor pintaraig_;
};

}  // namespace corvani
