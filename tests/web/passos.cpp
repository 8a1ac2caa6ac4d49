// The bench compiled natively, for the page's tests: plays the actions named on the command line
// (click:N on control N, menu:N for menu item N, barra:V for the direction bar at V, by the
// numbers of Ctl and Menu) and prints, before the first and after each, what the page shows of
// the controls in the same words the tests read from the page. With --rects it prints instead
// every control's laid-out rectangle in pixels at scale 1, where the tests click; with --noms,
// what the table gives screen readers of each: kind, caption, tooltip and accessible name; with
// --tintes, each captioned control's face and caption ink as packed colours, empty where the
// style gives them; with --menus, every menu item's number and text. With --lector before the
// actions, each step also gives every button's name for screen readers and the notice said after
// it, as the desktop says them. With --tela X Y SCALE LEFT TOP WIDTH HEIGHT before the actions,
// it writes instead the page's surface after them, its bench's corner at (X, Y) and its scale
// SCALE as the page gives them: the rectangle at LEFT, TOP of WIDTH × HEIGHT device pixels, row
// by row, each pixel red, green, blue and alpha bytes.
#include <algorithm>
#include <cstdint>
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
#include "web/pagina.h"

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

// An action named on the command line: what it acts on and its number, or a kind of "" if it is none.
struct Accio {
  std::string kind;
  int n = -1;
};
Accio accio(const std::string& action) {
  const auto colon = action.find(':');
  const std::string kind = action.substr(0, colon);
  const int n = colon == std::string::npos ? -1 : std::atoi(action.c_str() + colon + 1);
  const bool valid = (kind == "click" && n >= 0 && n < int(controlCount)) ||
                     (kind == "menu" && n >= 0 && n <= int(Menu::mnuComplet)) || (kind == "barra" && (n == 0 || n == 1));
  return valid ? Accio{kind, n} : Accio{};
}

int tela(int argc, char* argv[]) {
  if (argc < 9) return 2;
  const escala::Vista view{std::strtod(argv[2], nullptr), std::strtod(argv[3], nullptr), std::strtod(argv[4], nullptr)};
  const escala::PixelRect rect{std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8])};
  Missatges missatges;
  web::Pagina pagina(missatges, {});
  for (int i = 9; i < argc; ++i) {
    const Accio a = accio(argv[i]);
    if (a.kind == "click") pagina.click(static_cast<Ctl>(a.n));
    else if (a.kind == "menu") pagina.choose(static_cast<Menu>(a.n));
    else if (a.kind == "barra") pagina.barra(a.n);
    else return 2;
  }
  web::Superficie& s = pagina.superficie();
  s.setView(rect.right(), rect.bottom(), view);
  s.setWindow(rect);
  std::vector<std::uint32_t> pixels(std::size_t(rect.width) * std::size_t(rect.height), 0xFF000000u);
  const std::vector<escala::PixelRect>& painted = s.paint();
  const std::uint32_t* from = s.pixels();
  for (const escala::PixelRect& r : painted)
    for (int y = r.top; y < r.bottom(); ++y, from += r.width)
      std::copy(from, from + r.width, pixels.begin() + std::ptrdiff_t((y - rect.top) * rect.width + r.left - rect.left));
  std::fwrite(pixels.data(), sizeof pixels[0], pixels.size(), stdout);
  return 0;
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
  if (argc > 1 && std::string(argv[1]) == "--tela") return tela(argc, argv);
  Buida surface;
  Missatges missatges;
  Banc banc(surface, missatges, &pintaraig);
  banc.Form_Load();
  const bool lector = argc > 1 && std::string(argv[1]) == "--lector";
  Lectura llegit = llegeix(banc.estat(), banc.controls());
  const int first = lector ? 2 : 1;
  print(0, banc, missatges, lector ? &llegit : nullptr);
  for (int i = first; i < argc; ++i) {
    const auto [kind, n] = accio(argv[i]);
    if (kind == "click") {
      banc.click(static_cast<Ctl>(n));
    } else if (kind == "menu") {
      banc.choose(static_cast<Menu>(n));
    } else if (kind == "barra") {
      if (n != banc.controls()[Ctl::VSllum].value) banc.VSllum_Change(static_cast<std::int16_t>(n));
    } else {
      std::fprintf(stderr, "passos: not an action: %s\n", argv[i]);
      return 2;
    }
    print(i - first + 1, banc, missatges, lector ? &llegit : nullptr);
  }
  return 0;
}
