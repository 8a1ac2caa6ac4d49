// A bench with recording stand-ins for the surface, the message boxes and the ray drawing.
#pragma once

#include <string>
#include <vector>

#include "model/banc.h"

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
  void message(std::string_view text) override { shown.emplace_back(text); }
};

struct Bench {
  RecordingSurface surface;
  RecordingDialogs dialogs;
  int pintades = 0;  // calls of the ray drawing
  Banc banc{surface, dialogs, [this](Estat&, Surface&) { ++pintades; }};

  Bench() { banc.Form_Load(); }
  const Controls& controls() const { return banc.controls(); }
};

}  // namespace corvani
