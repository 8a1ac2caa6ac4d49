// The ray drawing: four sequences (straight or down, one ray or three components).
#include "view/raig.h"

#include <cmath>

namespace corvani {
namespace {

using namespace geometria;

enum class Canal { R, G, B };
constexpr std::array<Canal, 3> canals = {Canal::R, Canal::G, Canal::B};

std::int32_t& raig(Estat& e, Canal c) { return c == Canal::R ? e.raigR : c == Canal::G ? e.raigG : e.raigB; }

// The colour of one component ray, or of the whole ray, with the channels as they stand.
Color color(const Estat& e, Canal c) {
  switch (c) {
    case Canal::R: return packColor(e.raigR, 0, 0);
    case Canal::G: return packColor(0, e.raigG, 0);
    case Canal::B: return packColor(0, 0, e.raigB);
  }
  return colors::black;
}
Color colorSencer(const Estat& e) { return packColor(e.raigR, e.raigG, e.raigB); }

void passaSlot(Estat& e, int k) {
  e.raigR *= e.passaR[k];
  e.raigG *= e.passaG[k];
  e.raigB *= e.passaB[k];
}

std::int32_t reflecteix(std::int16_t paper, std::int32_t canal) {
  return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(paper) * canal / 255.0));
}
void reflecteixAlPaper(Estat& e) {
  e.raigR = reflecteix(e.paperR, e.raigR);
  e.raigG = reflecteix(e.paperG, e.raigG);
  e.raigB = reflecteix(e.paperB, e.raigB);
}

// Offset of a component ray from the single ray: red above, blue below.
constexpr std::int32_t desplacament(Canal c) { return (static_cast<int>(c) - 1) * separacio; }

// The ray's path up to slot 2 and on: point i is the lamp (0) or slot i-1 (1..3).
Point puntRecte(int i, std::int32_t dy) { return {i == 0 ? xLlum : xSlot[i - 1], yRecte + dy}; }
Point puntAvall(int i, std::int32_t dy) {
  return i == 0 ? Point{xLlum, yRecte + dy} : Point{xSlot[i - 1], ySlotAvall[i - 1] + dy};
}

// Lamp to slot 2, passing each slot after its stretch.
template <typename Punt>
void finsAlSlot2(Estat& e, Surface& s, bool analisi, Punt punt) {
  for (int i = 0; i < 3; ++i) {
    if (analisi) {
      for (Canal c : canals) s.line(punt(i, desplacament(c)), punt(i + 1, desplacament(c)), color(e, c));
    } else {
      s.line(punt(i, 0), punt(i + 1, 0), colorSencer(e));
    }
    passaSlot(e, i);
  }
}

void recte(Estat& e, Surface& s, bool analisi) {
  finsAlSlot2(e, s, analisi, puntRecte);
  const Point eyeAt = {xUll, yRecte};
  if (analisi) {
    for (Canal c : canals)
      s.line(puntRecte(3, desplacament(c)), {eyeAt.x, eyeAt.y + desplacament(c)}, color(e, c));
  } else {
    s.line(puntRecte(3, 0), eyeAt, colorSencer(e));
  }
}

// Lamp down: after slot 2 only stretches that carry light are drawn.
void avall(Estat& e, Surface& s, bool analisi) {
  finsAlSlot2(e, s, analisi, puntAvall);
  if (analisi) {
    // The components meet the paper 248 units apart and leave it in mirrored order.
    auto alPaper = [](Canal c) { return Point{paper.x - desplacament(c) / separacio * separacioAlPaper, paper.y}; };
    for (Canal c : canals)
      if (raig(e, c) > 0) s.line(puntAvall(3, desplacament(c)), alPaper(c), color(e, c));
    reflecteixAlPaper(e);
    for (Canal c : canals)
      if (raig(e, c) > 0) s.line(alPaper(c), {xUll, yRecte - desplacament(c)}, color(e, c));
  } else {
    if (e.raigR + e.raigG + e.raigB > 0) s.line(puntAvall(3, 0), paper, colorSencer(e));
    reflecteixAlPaper(e);
    if (e.raigR + e.raigG + e.raigB > 0) s.line(paper, {xUll, yRecte}, colorSencer(e));
  }
}

}  // namespace

void pintaraig(Estat& e, Surface& s) {
  s.clear();
  e.raigR = e.llums > 3 ? 255 : 0;
  e.raigG = (e.llums - e.raigR * 4 / 255.0) > 1 ? 255 : 0;
  e.raigB = e.llums % 2 == 1 ? 255 : 0;
  s.setLineWidth(3);
  const bool analisiValida = e.analisi == fals || e.analisi == cert;
  if (analisiValida && e.direccio == 0) recte(e, s, e.analisi == cert);
  if (analisiValida && e.direccio == 1) avall(e, s, e.analisi == cert);
  s.setLineWidth(1);
  repintafiltres(e, s);
}

LlumAlUll llumAlUll(const Estat& e) {
  if (e.llums == 0) return {.components = e.analisi == cert};
  return {e.raigR > 0, e.raigG > 0, e.raigB > 0, e.analisi == cert};
}

}  // namespace corvani
