// The bench compiled natively, for the page's tests: plays the actions named on the command line
// (click:N on control N, menu:N for menu item N, barra:V for the direction bar at V, by the
// numbers of Ctl and Menu) and prints, before the first and after each, what the page shows of
// the controls in the same words the tests read from the page. With --rects it prints instead
// every control's laid-out rectangle in pixels at scale 1, where the tests click; with --noms,
// what the table gives screen readers of each: kind, caption, tooltip and accessible name; with
// --tintes, each captioned control's face and caption ink as packed colours, empty where the
// style gives them; with --menus, every menu item's number and text. With --lector before the
// actions, each step also gives every button's name for screen readers and the notice said after
// it, as the desktop says them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/banc.h"
#include "model/layout.h"
#include "view/descripcio.h"
#include "view/escala.h"
#include "view/menus.h"
#include "view/raig.h"

using namespace corvani;

namespace {

struct Buida : Surface {
  void clear() override {}
  void setLineWidth(int) override {}
  void line(Point, Point, Color) override {}
  void repaintShape(Ctl) override {}
};

struct Missatges : Dialogs {
  std::vector<std::string> shown;
  void message(std::string_view text) override { shown.emplace_back(text); }
};

std::string nameOf(const ControlLayout& row) {
  return std::string(row.name) + (row.index >= 0 ? "(" + std::to_string(row.index) + ")" : "");
}

// One line a control: name|visible|enabled|caption|back|value, each field empty where the kind
// has none; then the shapes and the light at the eye as told to screen readers, and the messages.
// Given what a screen reader was last told, a line nom|control|name a button and the notice.
void print(int step, const Banc& banc, Missatges& missatges, Lectura* llegit) {
  std::printf("--- %d\n", step);
  for (const ControlLayout& row : controlTable) {
    if (row.kind == Kind::Shape) continue;
    const ControlState& s = banc.controls()[row.id];
    const bool button = row.kind == Kind::Button || row.kind == Kind::GraphicalButton;
    std::printf("%s|%d|%s|%s|%s|%s\n", nameOf(row).c_str(), s.visible, button ? (s.enabled ? "1" : "0") : "",
                button ? s.caption.c_str() : "", button && row.back ? std::to_string(s.back).c_str() : "",
                row.kind == Kind::ScrollBar ? std::to_string(s.value).c_str() : "");
  }
  std::string formes;
  for (const FormaVisible& f : formesVisibles(banc.estat(), banc.controls())) formes += f.nom + ";";
  std::printf("formes|%s\null|%s\n", formes.c_str(), descripcioUll(llumAlUll(banc.estat())).c_str());
  for (const std::string& m : missatges.shown) std::printf("missatge|%s\n", m.c_str());
  missatges.shown.clear();
  if (!llegit) return;
  for (const ControlLayout& row : controlTable)
    if (row.kind == Kind::Button || row.kind == Kind::GraphicalButton)
      std::printf("nom|%s|%s\n", nameOf(row).c_str(),
                  accessibleNameFor(row.id, banc.controls().caption(row.id)).c_str());
  Lectura ara = llegeix(banc.estat(), banc.controls());
  std::printf("avis|%s\n", avis(*llegit, ara).c_str());
  *llegit = std::move(ara);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && std::string(argv[1]) == "--rects") {
    for (const ControlLayout& row : controlTable) {
      const escala::PixelRect r = escala::pixelRect(row.rect);
      std::printf("%s|%d|%d|%d|%d\n", nameOf(row).c_str(), r.left, r.top, r.width, r.height);
    }
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "--tintes") {
    const auto packed = [](std::optional<Color> c) { return c ? std::to_string(*c) : std::string(); };
    for (const ControlLayout& row : controlTable)
      if (!row.caption.empty())
        std::printf("%s|%s|%s\n", nameOf(row).c_str(), packed(row.back).c_str(), packed(row.fore).c_str());
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "--noms") {
    for (const ControlLayout& row : controlTable)
      std::printf("%s|%s|%.*s|%.*s|%s\n", nameOf(row).c_str(), std::string(kindName(row.kind)).c_str(),
                  int(row.caption.size()), row.caption.data(), int(row.tooltip.size()), row.tooltip.data(),
                  row.purpose.empty() ? "" : accessibleNameFor(row.id, row.caption).c_str());
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "--menus") {
    const auto item = [](Menu id, std::string_view text) { std::printf("%d|%.*s\n", int(id), int(text.size()), text.data()); };
    for (const MenuBarEntry& entry : barraMenus) {
      if (entry.id) {
        item(*entry.id, entry.text);
      } else {
        for (const MenuItem& i : entry.items) item(i.id, i.text);
      }
    }
    return 0;
  }
  Buida surface;
  Missatges missatges;
  Banc banc(surface, missatges, &pintaraig);
  banc.Form_Load();
  const bool lector = argc > 1 && std::string(argv[1]) == "--lector";
  Lectura llegit = llegeix(banc.estat(), banc.controls());
  const int first = lector ? 2 : 1;
  print(0, banc, missatges, lector ? &llegit : nullptr);
  for (int i = first; i < argc; ++i) {
    const std::string action = argv[i];
    const auto colon = action.find(':');
    const std::string kind = action.substr(0, colon);
    const int n = colon == std::string::npos ? -1 : std::atoi(action.c_str() + colon + 1);
    if (kind == "click" && n >= 0 && n < int(controlCount)) {
      banc.click(static_cast<Ctl>(n));
    } else if (kind == "menu" && n >= 0 && n <= int(Menu::mnuComplet)) {
      banc.choose(static_cast<Menu>(n));
    } else if (kind == "barra" && (n == 0 || n == 1)) {
      if (n != banc.controls()[Ctl::VSllum].value) banc.VSllum_Change(static_cast<std::int16_t>(n));
    } else {
      std::fprintf(stderr, "passos: not an action: %s\n", action.c_str());
      return 2;
    }
    print(i - first + 1, banc, missatges, lector ? &llegit : nullptr);
  }
  return 0;
}
