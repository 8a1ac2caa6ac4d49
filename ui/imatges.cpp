// Where each picture lives among the program's resources.
#include "ui/imatges.h"

#include <QString>

namespace corvani {

QPixmap pixmapOf(Picture picture) {
  static constexpr const char* tintes[] = {"vermell", "blanc", "negre", "cian", "magenta", "groc", "verd", "blau"};
  QString name;
  switch (picture) {
    case Picture::None: return {};
    case Picture::Icona: name = "icona"; break;
    case Picture::Llum: name = "llum"; break;
    case Picture::LlumAvall: name = "llum_avall"; break;
    case Picture::Ull: name = "ull"; break;
    case Picture::BuidaPot: name = "buida_pot"; break;
    case Picture::Pinta: name = "pinta"; break;
    default:
      name = QStringLiteral("tinta_") + tintes[static_cast<int>(picture) - static_cast<int>(Picture::Tinta0)];
  }
  return QPixmap(QStringLiteral(":/imatges/%1.png").arg(name));
}

}  // namespace corvani
