// Build-time tool: prints the page's table of controls, menus and texts, as the module gives it to
// the page, for the page's markup to be written from before the module runs.
#include <cstdio>

#include "web/pagina.h"

int main() {
  // The line ended, as the runtime passes its output on a line at a time.
  const std::string taula = corvani::web::Pagina::taula() + '\n';
  return std::fwrite(taula.data(), 1, taula.size(), stdout) == taula.size() ? 0 : 1;
}
