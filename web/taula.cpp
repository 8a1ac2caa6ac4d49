// Build-time tool: prints the page's table of controls, menus and texts, which the page is built
// with: its controls' markup written from it, and the table itself for its script to read.
#include <cstdio>

#include "web/pagina.h"

int main() {
  // The line ended, as the runtime passes its output on a line at a time.
  const std::string taula = corvani::web::Pagina::taula() + '\n';
  return std::fwrite(taula.data(), 1, taula.size(), stdout) == taula.size() ? 0 : 1;
}
