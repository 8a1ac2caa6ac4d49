// Randomized runs of the bench with the real ray drawing: long sequences of the actions the window
// allows at each moment, checking the bench, every line and every message box after each one.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "stress_invariants.h"
#include "view/raig.h"

namespace corvani {
namespace {

using namespace stress;

// Checks each line as it is drawn; keeps the first fault, since one is enough to stop the run.
struct CheckingSurface : Surface {
  const Estat* drawing = nullptr;  // set while pintaraig runs
  int width = 1;
  int lines = 0;
  std::vector<Ctl> repainted;
  Color atTheEye = 0;  // the primaries of every line that ends at the eye, since the last clear
  std::string fault;

  void note(const std::string& what) {
    if (fault.empty()) fault = what;
  }
  void clear() override { atTheEye = 0; }
  void setLineWidth(int pixels) override { width = pixels; }
  void line(Point from, Point to, Color color) override {
    if (to.x == 12900) atTheEye |= color;
    if (!drawing) return note("a line drawn outside the ray drawing");
    if (!repainted.empty()) note("a line drawn over the repainted filters");
    note(lineFault(from, to, color, width, *drawing));
    ++lines;
  }
  void repaintShape(Ctl shape) override {
    if (width != 1) note("a filter repainted at line width " + std::to_string(width));
    repainted.push_back(shape);
  }

  void begin(const Estat& e) {
    drawing = &e;
    lines = 0;
    repainted.clear();
  }
  void end(const Estat& e) {
    drawing = nullptr;
    if (width != 1) note("line width " + std::to_string(width) + " after a drawing");
    if (lines == 0) note("a drawing with no line");
    std::vector<Ctl> slots;
    for (int s = 0; s < e.nfiltres; ++s) slots.push_back(shpFiltre(s));
    if (repainted != slots) note("the drawing did not end by repainting the occupied slots in order");
    note(rayFault(e));
  }
};

struct RecordingDialogs : Dialogs {
  std::vector<std::string> shown;
  void message(std::string_view text) override { shown.emplace_back(text); }
};

struct Action {
  enum class Kind { click, scroll, menu } kind;
  Ctl ctl{};
  Menu menu{};
};

std::string label(const Action& a) {
  switch (a.kind) {
    case Action::Kind::click: return "click " + nameOf(a.ctl);
    case Action::Kind::scroll: return "scroll VSllum";
    case Action::Kind::menu: return "menu " + std::to_string(static_cast<int>(a.menu));
  }
  return {};
}

// Everything a user can do now: the visible, enabled buttons, the scroll bar, the bench's menu items.
void allowedActions(const Controls& k, std::vector<Action>& out) {
  out.clear();
  for (std::size_t i = 0; i < controlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    if (isButton(c) && k.visible(c) && k.enabled(c)) out.push_back({Action::Kind::click, c});
  }
  if (k.visible(Ctl::VSllum) && k.enabled(Ctl::VSllum)) out.push_back({Action::Kind::scroll});
  for (Menu m : benchMenus) out.push_back({Action::Kind::menu, {}, m});
}

TEST(Stress, EveryActionTheWindowAllowsKeepsTheBenchSound) {
  const std::uint64_t seed = seedFromEnvironment((std::uint64_t{std::random_device{}()} << 32) | std::random_device{}());
  const long calls = countFromEnvironment("CORVANI_STRESS_CALLS", 1'000'000);
  std::cout << "CORVANI_SEED=" << seed << " CORVANI_STRESS_CALLS=" << calls << std::endl;
  std::mt19937_64 rng(seed);

  CheckingSurface surface;
  RecordingDialogs dialogs;
  long drawings = 0;
  Banc banc(surface, dialogs, [&surface, &drawings](Estat& e, Surface& s) {
    ++drawings;
    surface.begin(e);
    pintaraig(e, s);
    surface.end(e);
  });
  banc.Form_Load();
  ASSERT_EQ(benchFault(banc.estat(), banc.controls()), "") << "as the window opens";

  std::deque<Action> recent;  // for the report; the seed and the call count replay the whole run
  std::vector<Action> allowed;
  std::set<std::string> taken, boxes;
  bool white = false, fullPot = false, threeFilters = false, analysedDown = false;

  const auto start = std::chrono::steady_clock::now();
  for (long n = 0; n < calls; ++n) {
    allowedActions(banc.controls(), allowed);
    const Action a = allowed[std::uniform_int_distribution<std::size_t>(0, allowed.size() - 1)(rng)];
    recent.push_back(a);
    if (recent.size() > 24) recent.pop_front();

    const Estat before = banc.estat();
    std::optional<std::string> box;
    dialogs.shown.clear();
    bool handled = true;
    switch (a.kind) {
      case Action::Kind::click:
        if (auto text = expectedBoxForClick(a.ctl, before)) box = std::string(*text);
        handled = banc.click(a.ctl);
        break;
      case Action::Kind::scroll:
        banc.VSllum_Change(static_cast<std::int16_t>(1 - banc.controls()[Ctl::VSllum].value));
        break;
      case Action::Kind::menu:
        box = expectedBoxForMenu(a.menu);
        handled = banc.choose(a.menu);
        break;
    }

    std::string fault = surface.fault;
    if (!handled) fault += "no handler; ";
    if (dialogs.shown != (box ? std::vector<std::string>{*box} : std::vector<std::string>{}))
      fault += "message boxes: " + std::to_string(dialogs.shown.size()) + " shown" +
               (dialogs.shown.empty() ? std::string() : ", '" + dialogs.shown.front() + "'") + "; ";
    fault += benchFault(banc.estat(), banc.controls());
    // What screen readers are told reaches the eye is what the surface shows arriving there.
    const LlumAlUll told = llumAlUll(banc.estat());
    if (packColor(told.r ? 255 : 0, told.g ? 255 : 0, told.b ? 255 : 0) != surface.atTheEye)
      fault += "the eye is told of other light than the lines that reach it; ";
    if (!fault.empty()) {
      std::ostringstream history;
      for (const Action& r : recent) history << "\n  " << label(r);
      FAIL() << "after call " << n + 1 << " (" << label(a) << "): " << fault << "\nbefore: " << describe(before)
             << "\nafter:  " << describe(banc.estat()) << "\nlast actions:" << history.str()
             << "\nreplay: CORVANI_SEED=" << seed << " CORVANI_STRESS_CALLS=" << n + 1;
    }

    taken.insert(label(a));
    for (const std::string& text : dialogs.shown) boxes.insert(text);
    const Estat& e = banc.estat();
    white = white || banc.controls().caption(Ctl::cmdBlanca) == textos::apagaLlum;
    fullPot = fullPot || e.nivell == 900;
    threeFilters = threeFilters || e.nfiltres == 3;
    analysedDown = analysedDown || (e.analisi == cert && e.direccio == 1 && e.raigR + e.raigG + e.raigB > 0);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << calls << " calls, " << drawings << " drawings in " << seconds << " s: " << calls / seconds
            << " calls/s" << std::endl;

  // A run long enough must have gone everywhere, or the walk is not testing what it claims to.
  if (calls >= 10'000) {
    for (std::size_t i = 0; i < controlCount; ++i) {
      const Ctl c = static_cast<Ctl>(i);
      if (isButton(c) && (layoutOf(c).visible || layoutOf(c).name != "cmdTinta")) {
        EXPECT_TRUE(taken.count("click " + nameOf(c))) << nameOf(c) << " never clicked";
      }
    }
    EXPECT_TRUE(taken.count("scroll VSllum"));
    for (Menu m : benchMenus) EXPECT_TRUE(taken.count(label({Action::Kind::menu, {}, m})));
    EXPECT_EQ(boxes.size(), 7u) << "not every message box was reached";
    EXPECT_TRUE(white && fullPot && threeFilters && analysedDown);
  }
}

}  // namespace
}  // namespace corvani
