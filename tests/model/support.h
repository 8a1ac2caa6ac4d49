// A bench with recording stand-ins for the surface, the message boxes and the ray drawing.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/banc.h"
#include "model/layout.h"

namespace corvani {

struct RecordingSurface : Surface {
  int clears = 0;
  std::vector<Ctl> repainted;
  void clear() override { ++clears; }
  void setLineWidth(int) override {}
  void line(Point, Point, Color) override {}
  void repaintShape(Ctl shape) override { repainted.push_back(shape); }
};

struct RecordingDialogs : Dialogs {
  std::vector<std::string> shown;
  std::function<void()> whileOpen;  // runs while the box is up, to see the state the user sees
  void message(std::string_view text) override {
    shown.emplace_back(text);
    if (whileOpen) whileOpen();
  }
};

struct Bench {
  RecordingSurface surface;
  RecordingDialogs dialogs;
  int pintades = 0;  // calls of the ray drawing
  std::function<void(Estat&)> whileDrawing;  // stands in for what the real drawing does to the state
  Banc banc{surface, dialogs, [this](Estat& e, Surface&) {
              ++pintades;
              if (whileDrawing) whileDrawing(e);
            }};

  Bench() { banc.Form_Load(); }
  const Controls& controls() const { return banc.controls(); }
  const Estat& estat() const { return banc.estat(); }
};

// Compared whole, so that a handler changing anything beyond its job is caught.
struct Instant {
  Estat estat;
  std::array<ControlState, controlCount> controls;
  int pintades = 0, clears = 0;
  std::vector<Ctl> repainted;
  std::vector<std::string> shown;
  ControlState& operator[](Ctl c) { return controls[ord(c)]; }
};

inline Instant instant(const Bench& b) {
  Instant i{b.estat(), {}, b.pintades, b.surface.clears, b.surface.repainted, b.dialogs.shown};
  for (std::size_t c = 0; c < controlCount; ++c) i.controls[c] = b.controls()[static_cast<Ctl>(c)];
  return i;
}

inline std::string nameOf(Ctl c) {
  const ControlLayout& row = layoutOf(c);
  return std::string(row.name) + (row.index >= 0 ? "(" + std::to_string(row.index) + ")" : "");
}

inline void PrintTo(Ctl c, std::ostream* os) { *os << nameOf(c); }

inline std::string describe(const ControlState& s) {
  auto opt = [](const std::optional<float>& v) { return v ? std::to_string(*v) : std::string("-"); };
  return "visible " + std::to_string(s.visible) + " enabled " + std::to_string(s.enabled) + " caption '" +
         s.caption + "' back " + std::to_string(s.back) + " fill " + std::to_string(s.fill) + " top " +
         opt(s.top) + " height " + opt(s.height) + " value " + std::to_string(s.value);
}

inline void PrintTo(const Estat& e, std::ostream* os) {
  auto arr = [](const std::array<std::int16_t, 4>& a) {
    return std::to_string(a[0]) + std::to_string(a[1]) + std::to_string(a[2]) + std::to_string(a[3]);
  };
  *os << "{llums " << e.llums << " raig " << e.raigR << ',' << e.raigG << ',' << e.raigB << " nfiltres "
      << e.nfiltres << " passa " << arr(e.passaR) << '/' << arr(e.passaG) << '/' << arr(e.passaB) << " analisi "
      << e.analisi << " direccio " << e.direccio << " paper " << e.paperR << ',' << e.paperG << ',' << e.paperB
      << " nivell " << e.nivell << " mescla " << e.mesclaR << ',' << e.mesclaG << ',' << e.mesclaB << " tinta "
      << e.tintaR << ',' << e.tintaG << ',' << e.tintaB << '}';
}

inline void expectSame(const Instant& expected, const Instant& actual) {
  EXPECT_EQ(expected.estat, actual.estat);
  for (std::size_t c = 0; c < controlCount; ++c)
    EXPECT_EQ(describe(expected.controls[c]), describe(actual.controls[c])) << nameOf(static_cast<Ctl>(c));
  EXPECT_EQ(expected.pintades, actual.pintades) << "ray drawings";
  EXPECT_EQ(expected.clears, actual.clears) << "surface clears";
  EXPECT_EQ(expected.repainted, actual.repainted);
  EXPECT_EQ(expected.shown, actual.shown);
}

}  // namespace corvani
