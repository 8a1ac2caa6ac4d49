// The page's bench and the JSON in which the page reads the window's table, states and places.
#include "web/pagina.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "assets/noms.h"
#include "model/layout.h"
#include "model/textos.h"
#include "view/descripcio.h"
#include "view/escala.h"
#include "view/menus.h"
#include "view/raig.h"

namespace corvani::web {
namespace {

namespace t = textos;

// A JSON text, written as it goes; a comma goes before every value but the first of an array
// or an object.
class Json {
public:
  Json& open(char bracket) {
    comma();
    text_ += bracket;
    first_ = true;
    return *this;
  }
  Json& close(char bracket) {
    text_ += bracket;
    first_ = false;
    return *this;
  }
  Json& key(std::string_view name) {
    value(name);
    text_ += ':';
    first_ = true;
    return *this;
  }
  Json& value(std::string_view s) {
    comma();
    text_ += '"';
    for (const char c : s) {
      if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        text_ += escaped;
      } else {
        text_ += c;
      }
    }
    text_ += '"';
    return *this;
  }
  Json& value(const char* s) { return value(std::string_view(s)); }
  Json& value(double n) {
    comma();
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", n);
    text_ += number;
    return *this;
  }
  Json& value(int n) {
    comma();
    char number[16];
    text_.append(number, std::to_chars(number, number + sizeof number, n).ptr);
    return *this;
  }
  Json& value(bool b) {
    comma();
    text_ += b ? "true" : "false";
    return *this;
  }
  Json& value(std::optional<Color> c) {
    if (c) return value(int(*c));
    comma();
    text_ += "null";
    return *this;
  }
  template <typename T>
  Json& field(std::string_view name, T v) {
    return key(name).value(v);
  }
  Json& rect(escala::PixelRect r) {
    return open('[').value(r.left).value(r.top).value(r.width).value(r.height).close(']');
  }
  std::string take() { return std::move(text_); }

private:
  void comma() {
    if (!first_) text_ += ',';
    first_ = false;
  }
  std::string text_;
  bool first_ = true;
};

int menuNumber(Menu m) { return static_cast<int>(m); }

}  // namespace

Pagina::Pagina(Dialogs& dialogs, std::function<void(Ctl)> changed)
    : banc_(superficie_, dialogs, &pintaraig), changed_(std::move(changed)) {
  superficie_.setControls(banc_.controls());
  banc_.controls().setObserver(this);
  banc_.Form_Load();
  llegit_ = llegeix(banc_.estat(), banc_.controls());
}

Pagina::~Pagina() { banc_.controls().setObserver(nullptr); }

std::string Pagina::taula() {
  Json j;
  j.open('{').field("titol", t::titolFinestra).field("programa", t::nomPrograma).field("acord", t::botoAcord);
  j.field("acabat", t::programaAcabat).field("banc", t::nomBanc);
  j.key("pixelsPerUnit").open('[').value(escala::pixelsPerUnitX).value(escala::pixelsPerUnitY).close(']');
  j.key("menus").open('[');
  for (const MenuBarEntry& entry : barraMenus) {
    j.open('{').field("text", entry.text);
    if (entry.id) {
      j.field("id", menuNumber(*entry.id));
    } else {
      j.key("items").open('[');
      for (const MenuItem& item : entry.items) j.open('{').field("text", item.text).field("id", menuNumber(item.id)).close('}');
      j.close(']');
    }
    j.close('}');
  }
  j.close(']').field("sortir", menuNumber(Menu::mnuSortir));
  j.field("focus", int(ord(focusInicial))).field("ull", int(ord(Ctl::Picture1)));
  j.key("direccio").open('[').value(t::direccioLlum[0]).value(t::direccioLlum[1]).close(']');
  j.key("controls").open('[');
  for (const ControlLayout& row : controlTable) {
    j.open('{').field("nom", row.name).field("index", row.index).field("kind", kindName(row.kind));
    j.key("rect").rect(escala::pixelRect(row.rect));
    // The name the table gives, where the caption alone is not the name.
    j.field("caption", row.caption).field("tooltip", row.tooltip);
    j.field("accessibleName", row.purpose.empty() ? std::string() : accessibleNameFor(row.id, row.caption));
    j.field("picture", pictureName(row.picture));
    j.field("back", row.back).field("fore", row.fore).field("borderWidth", row.borderWidth);
    j.field("visible", row.visible).close('}');
  }
  j.close(']').close('}');
  return j.take();
}

std::string Pagina::estat(Ctl c) const {
  const ControlState& s = banc_.controls()[c];
  Json j;
  j.open('{').field("visible", s.visible).field("enabled", s.enabled).field("caption", std::string_view(s.caption));
  j.field("name", accessibleNameFor(c, s.caption));
  j.field("back", s.back).field("fill", s.fill).field("value", int(s.value)).close('}');
  return j.take();
}

std::string Pagina::descripcio() const {
  Json j;
  j.open('{').field("ull", std::string_view(descripcioUll(llumAlUll(banc_.estat()))));
  j.key("formes").open('[');
  for (const FormaVisible& forma : formesVisibles(banc_.estat(), banc_.controls())) j.value(std::string_view(forma.nom));
  j.close(']').close('}');
  return j.take();
}

std::string Pagina::avis(std::optional<Ctl> sentit) {
  Lectura ara = llegeix(banc_.estat(), banc_.controls());
  std::string text = corvani::avis(llegit_, ara, sentit ? std::span<const Ctl>(&*sentit, 1) : std::span<const Ctl>());
  llegit_ = std::move(ara);
  return text;
}

std::string Pagina::vista(int width, int height, double lupa, int barra) {
  const escala::Ampliada a = escala::amplia(width, height, lupa, barra);
  const escala::Vista& view = a.view;
  superficie_.setView(a.width, a.height, view);
  Json j;
  j.open('{').field("x", view.x).field("y", view.y).field("scale", view.scale);
  j.field("width", a.width).field("height", a.height);
  j.field("viewportWidth", a.viewportWidth).field("viewportHeight", a.viewportHeight).key("rects").open('[');
  for (const ControlLayout& row : controlTable) j.rect(escala::place(escala::pixelRect(row.rect), view));
  j.close(']').close('}');
  return j.take();
}

bool Pagina::click(Ctl c) {
  const Controls& controls = banc_.controls();
  return controls.visible(c) && controls.enabled(c) && banc_.click(c);
}

void Pagina::barra(int value) {
  const auto v = static_cast<std::int16_t>(value > 0 ? 1 : 0);
  if (v != banc_.controls()[Ctl::VSllum].value) banc_.VSllum_Change(v);
}

void Pagina::controlChanged(Ctl c) {
  if (layoutOf(c).kind == Kind::Shape) superficie_.shapeChanged(c);
  if (changed_) changed_(c);
}

}  // namespace corvani::web
