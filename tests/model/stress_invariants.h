// What must hold between any two user actions, for the randomized tests of the bench and the
// window: the bench's state against its controls, each line drawn, and the boxes an action opens.
#pragma once

#include <array>
#include <cstdlib>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/banc.h"
#include "model/layout.h"
#include "model/textos.h"

namespace corvani::stress {

// Written out rather than taken from the model, so that a changed filter shows up here.
struct FilterLook {
  std::int16_t r, g, b;
  Color color;
};
inline constexpr std::array<FilterLook, filterCount> filterLooks = {{
    {1, 0, 0, 255}, {0, 1, 0, 65280}, {0, 0, 1, 16711680},
    {0, 1, 1, 16776960}, {1, 0, 1, 16711935}, {1, 1, 0, 65535},
}};

inline std::string nameOf(Ctl c) {
  const ControlLayout& row = layoutOf(c);
  return std::string(row.name) + (row.index >= 0 ? "(" + std::to_string(row.index) + ")" : "");
}

inline std::string describe(const Estat& e) {
  std::ostringstream os;
  os << "llums " << e.llums << " raig " << e.raigR << ',' << e.raigG << ',' << e.raigB << " nfiltres " << e.nfiltres
     << " passa";
  for (int s = 0; s < slotCount; ++s) os << ' ' << e.passaR[s] << e.passaG[s] << e.passaB[s];
  os << " analisi " << e.analisi << " direccio " << e.direccio << " paper " << e.paperR << ',' << e.paperG << ','
     << e.paperB << " nivell " << e.nivell << " mescla " << e.mesclaR << ',' << e.mesclaG << ',' << e.mesclaB;
  return os.str();
}

inline bool isButton(Ctl c) {
  const Kind k = layoutOf(c).kind;
  return k == Kind::Button || k == Kind::GraphicalButton;
}

// A channel of a drawn colour: dark, full, or what the paper sends back of a full channel.
inline bool producible(std::int32_t channel, std::int16_t paper) {
  return channel == 0 || channel == 255 || channel == paper;
}

// Empty when the line is one the bench can draw; else why not.
inline std::string lineFault(Point from, Point to, Color color, int width, const Estat& e) {
  std::ostringstream os;
  for (Point p : {from, to})
    if (p.x < 0 || p.x > 13000 || p.y < 0 || p.y > 9000) os << "point (" << p.x << ',' << p.y << ") off the client area; ";
  if (color < 0 || color > 0xFFFFFF) os << "colour " << color << " is not a packed colour; ";
  if (!producible(redOf(color), e.paperR) || !producible(greenOf(color), e.paperG) ||
      !producible(blueOf(color), e.paperB))
    os << "colour " << redOf(color) << ',' << greenOf(color) << ',' << blueOf(color) << " has a channel the bench cannot make; ";
  if (width != 3) os << "line width " << width << " instead of 3; ";
  return os.str();
}

// Empty when the bench's state and its controls agree; else the first things that do not.
inline std::string benchFault(const Estat& e, const Controls& k) {
  std::ostringstream os;
  auto fail = [&os](const std::string& what) { os << what << "; "; };

  if (e.llums < 0 || e.llums > 7) fail("llums " + std::to_string(e.llums) + " outside 0..7");
  const std::string& blanca = k.caption(Ctl::cmdBlanca);
  const bool white = blanca == textos::apagaLlum;
  if (!white && blanca != textos::llumBlanca) fail("cmdBlanca caption '" + blanca + "'");
  for (int i = 0; i < lampCount; ++i) {
    const Ctl on = cmdLlum(i), off = cmdLlumOff(i);
    if (white) {
      if (k.enabled(on) || k.enabled(off) || k.visible(off)) fail("white light on but lamp " + std::to_string(i) + " offered");
      continue;
    }
    const bool lit = (e.llums & valorLlum[i]) != 0;
    const bool shownLit = !k.enabled(on) && k.visible(off) && k.enabled(off);
    const bool shownDark = k.enabled(on) && !k.visible(off);
    if (lit ? !shownLit : !shownDark)
      fail("lamp " + std::to_string(i) + (lit ? " on" : " off") + " but " + nameOf(on) +
           (k.enabled(on) ? " enabled, " : " disabled, ") + nameOf(off) + (k.visible(off) ? " shown" : " hidden") +
           (k.enabled(off) ? " enabled" : " disabled"));
  }
  if (white && e.llums != 7) fail("white light on with llums " + std::to_string(e.llums));

  if (e.nfiltres < 0 || e.nfiltres > slotCount) fail("nfiltres " + std::to_string(e.nfiltres) + " outside 0..3");
  for (int s = 0; s < slotCount; ++s) {
    const bool used = s < e.nfiltres;
    const Ctl shape = shpFiltre(s);
    if (k.visible(shape) != used) fail(nameOf(shape) + (used ? " hidden" : " shown") + " with nfiltres " + std::to_string(e.nfiltres));
    const std::array<std::int16_t, 3> pass = {e.passaR[s], e.passaG[s], e.passaB[s]};
    if (!used) {
      if (pass != std::array<std::int16_t, 3>{1, 1, 1}) fail("empty slot " + std::to_string(s) + " blocks light");
      continue;
    }
    bool known = false;
    for (const FilterLook& f : filterLooks)
      if (pass == std::array<std::int16_t, 3>{f.r, f.g, f.b}) {
        known = true;
        if (k[shape].back != f.color) fail(nameOf(shape) + " colour " + std::to_string(k[shape].back) + " is not its filter's");
      }
    if (!known) fail("slot " + std::to_string(s) + " passes " + std::to_string(pass[0]) + std::to_string(pass[1]) + std::to_string(pass[2]) + ", no filter's pattern");
  }
  if (k.visible(Ctl::cmdForaFiltres) != (e.nfiltres > 0))
    fail(std::string("cmdForaFiltres ") + (k.visible(Ctl::cmdForaFiltres) ? "shown" : "hidden") + " with nfiltres " + std::to_string(e.nfiltres));

  if (e.nivell != 0 && e.nivell != 300 && e.nivell != 600 && e.nivell != 900) fail("nivell " + std::to_string(e.nivell));
  const ControlState& liquid = k[Ctl::shpMescla];
  if (liquid.height != std::optional<float>(e.nivell) || liquid.top != std::optional<float>(2100 - e.nivell))
    fail("shpMescla height/top " + std::to_string(liquid.height.value_or(-1)) + '/' + std::to_string(liquid.top.value_or(-1)) +
         " for nivell " + std::to_string(e.nivell));
  for (std::int16_t m : {e.mesclaR, e.mesclaG, e.mesclaB})
    if (m != 0 && m != 255) fail("mix channel " + std::to_string(m) + " from inks of 0 and 255");
  if (e.nivell == 0 && (e.mesclaR != 255 || e.mesclaG != 255 || e.mesclaB != 255)) fail("empty pot with a coloured mix");
  if (e.nivell > 0 && liquid.fill != packColor(e.mesclaR, e.mesclaG, e.mesclaB)) fail("shpMescla fill is not the mix");

  if (k[Ctl::shpPaper].back != packColor(e.paperR, e.paperG, e.paperB)) fail("shpPaper colour is not the paper's");
  if (!k.visible(Ctl::shpPaper)) fail("shpPaper hidden");

  if (e.analisi != cert && e.analisi != fals) fail("analisi " + std::to_string(e.analisi));
  const std::string_view analisiCaption = e.analisi == cert ? textos::normal : textos::analisiDeLaLlum;
  if (k.caption(Ctl::cmdAnalisi) != analisiCaption) fail("cmdAnalisi caption '" + k.caption(Ctl::cmdAnalisi) + "'");

  if (e.direccio != 0 && e.direccio != 1) fail("direccio " + std::to_string(e.direccio));
  if (k[Ctl::VSllum].value != e.direccio) fail("VSllum at " + std::to_string(k[Ctl::VSllum].value) + " with direccio " + std::to_string(e.direccio));
  if (k.visible(Ctl::Picture2) != (e.direccio == 0) || k.visible(Ctl::PicAvall) != (e.direccio == 1))
    fail("lamp pictures do not show direccio " + std::to_string(e.direccio));

  // The modes show or hide whole groups: the filters with their frame, the pot with its inks.
  const bool filters = k.visible(Ctl::frmFiltres), inks = k.visible(Ctl::shpPotMescla);
  for (int i = 0; i < filterCount; ++i)
    if (k.visible(cmdfiltre(i)) != filters) fail(nameOf(cmdfiltre(i)) + " apart from its frame");
  for (Ctl c : {cmdTinta(3), cmdTinta(4), cmdTinta(5), Ctl::Label2, Ctl::shpMescla, Ctl::cmdBuidaPot, Ctl::cmdPinta})
    if (k.visible(c) != inks) fail(nameOf(c) + " apart from the pot");
  if (!filters && !inks) fail("neither filters nor inks shown");
  for (int i : {0, 1, 2, 6, 7})
    if (k.visible(cmdTinta(i))) fail(nameOf(cmdTinta(i)) + " shown");

  return os.str();
}

// Right after a drawing, what reached the eye: each lit channel through every slot, and what the
// paper sends back of it when the lamp is turned down. (Between drawings the channels may be stale:
// the modes put the lamps out without redrawing, and nothing reads the channels until the next one.)
inline std::string rayFault(const Estat& e) {
  std::ostringstream os;
  auto fail = [&os](const std::string& what) { os << what << "; "; };
  const std::array<std::int32_t, 3> raig = {e.raigR, e.raigG, e.raigB};
  const std::array<std::int16_t, 3> paper = {e.paperR, e.paperG, e.paperB};
  for (int ch = 0; ch < 3; ++ch) {
    const std::array<std::int16_t, 4>& passa = ch == 0 ? e.passaR : ch == 1 ? e.passaG : e.passaB;
    bool through = (e.llums & valorLlum[ch]) != 0;
    for (int s = 0; s < slotCount; ++s) through = through && passa[s] == 1;
    const std::int32_t expected = !through ? 0 : e.direccio == 1 ? paper[ch] : 255;
    if (raig[ch] != expected)
      fail("channel " + std::to_string(ch) + " reaches the eye at " + std::to_string(raig[ch]) + " instead of " + std::to_string(expected));
  }
  return os.str();
}

// The box, if any, an action must open in the state just before it.
inline std::optional<std::string_view> expectedBoxForClick(Ctl c, const Estat& before) {
  for (int i = 0; i < filterCount; ++i)
    if (c == cmdfiltre(i)) return before.nfiltres == slotCount ? std::optional(textos::limitFiltres) : std::nullopt;
  for (int i = 0; i < inkCount; ++i)
    if (c == cmdTinta(i)) return before.nivell >= 900 ? std::optional(textos::potPle) : std::nullopt;
  if (c == Ctl::cmdBuidaPot && before.nivell == 0) return textos::potBuitBuidar;
  if (c == Ctl::cmdPinta && before.nivell == 0) return textos::potBuitPintar;
  return std::nullopt;
}

inline std::string sobreText() {
  std::string text;
  for (std::string_view piece : textos::sobre) text += piece;
  return text;
}

inline std::optional<std::string> expectedBoxForMenu(Menu m) {
  switch (m) {
    case Menu::mnusobre: return sobreText();
    case Menu::mnuComFunciona: return std::string(textos::comFunciona);
    case Menu::mnuMesInfo: return std::string(textos::mesInformacio);
    default: return std::nullopt;
  }
}

inline constexpr std::array<Menu, 6> benchMenus = {Menu::mnusobre, Menu::mnuComFunciona, Menu::mnuMesInfo,
                                                   Menu::mnuFiltres, Menu::mnuTintes, Menu::mnuComplet};

// The seed and the size of a run: from the environment when set, so that a failure can be replayed.
inline std::uint64_t seedFromEnvironment(std::uint64_t fresh) {
  if (const char* s = std::getenv("CORVANI_SEED"); s && *s) return std::stoull(s);
  return fresh;
}
inline long countFromEnvironment(const char* variable, long fallback) {
  if (const char* s = std::getenv(variable); s && *s) return std::stol(s);
  return fallback;
}

}  // namespace corvani::stress
