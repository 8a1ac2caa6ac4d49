// The WebAssembly module's entry points, which the page calls, and its message boxes, which
// suspend the handler that opened one until the page's dialog is closed.
#include <emscripten.h>

#include <memory>
#include <string>
#include <vector>

#include "model/controls.h"
#include "web/pagina.h"

namespace {

using corvani::Ctl;
using corvani::web::Pagina;

// Told at once, while the handler runs, so that the page shows the state a message box finds.
EM_JS(void, avisaCanvi, (int control), { Module.corvaniCanvi(control); });

// The page paints what has changed and opens its dialog before this waits; nothing calls into the
// module again until the dialog is closed and the handler has gone on.
EM_ASYNC_JS(void, mostraMissatge, (const char* text), { await Module.corvaniMissatge(UTF8ToString(text)); });

class Missatges : public corvani::Dialogs {
public:
  void message(std::string_view text) override { mostraMissatge(std::string(text).c_str()); }
};

Missatges missatges;
std::unique_ptr<Pagina> pagina;
std::string resposta;  // the last answer given as text, kept until the next
std::vector<int> rectangles;

const char* respon(std::string text) {
  resposta = std::move(text);
  return resposta.c_str();
}

bool control(int c) { return c >= 0 && c < static_cast<int>(corvani::controlCount); }

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void corvani_inicia() {
  pagina = std::make_unique<Pagina>(missatges, [](Ctl c) { avisaCanvi(static_cast<int>(c)); });
}

EMSCRIPTEN_KEEPALIVE const char* corvani_vista(int width, int height, double lupa, int barra) {
  return respon(pagina->vista(width, height, lupa, barra));
}

EMSCRIPTEN_KEEPALIVE void corvani_finestra(int left, int top, int width, int height) {
  pagina->finestra({left, top, width, height});
}

EMSCRIPTEN_KEEPALIVE const char* corvani_estat(int c) {
  return control(c) ? respon(pagina->estat(static_cast<Ctl>(c))) : nullptr;
}

EMSCRIPTEN_KEEPALIVE const char* corvani_descripcio() { return respon(pagina->descripcio()); }

// The notice after an action; `focused` is the control with the focus, or -1.
EMSCRIPTEN_KEEPALIVE const char* corvani_avis(int focused) {
  return respon(pagina->avis(control(focused) ? std::optional<Ctl>(static_cast<Ctl>(focused)) : std::nullopt));
}

EMSCRIPTEN_KEEPALIVE int corvani_click(int c) { return control(c) && pagina->click(static_cast<Ctl>(c)); }

EMSCRIPTEN_KEEPALIVE int corvani_tria(int menu) {
  constexpr int last = static_cast<int>(corvani::Menu::mnuComplet);
  return menu >= 0 && menu <= last && pagina->choose(static_cast<corvani::Menu>(menu));
}

EMSCRIPTEN_KEEPALIVE void corvani_barra(int value) { pagina->barra(value); }

// Paints what changed; the rectangles follow as left, top, width, height in corvani_rectangles(),
// and their pixels one rectangle after another in corvani_pixels().
EMSCRIPTEN_KEEPALIVE int corvani_pinta() {
  rectangles.clear();
  for (const auto& r : pagina->superficie().paint()) rectangles.insert(rectangles.end(), {r.left, r.top, r.width, r.height});
  return static_cast<int>(rectangles.size() / 4);
}
EMSCRIPTEN_KEEPALIVE const int* corvani_rectangles() { return rectangles.data(); }
EMSCRIPTEN_KEEPALIVE const void* corvani_pixels() { return pagina->superficie().pixels(); }

}  // extern "C"
