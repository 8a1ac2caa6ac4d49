// Which compiled-in picture each name is, as a pixmap.
#include "ui/imatges.h"

#include <QImage>

#include "assets/pixels.h"

namespace corvani {

QPixmap pixmapOf(Picture picture) {
  static constexpr const char* tintes[] = {"vermell", "blanc", "negre", "cian", "magenta", "groc", "verd", "blau"};
  std::string name;
  switch (picture) {
    case Picture::None: return {};
    case Picture::Icona: name = "icona"; break;
    case Picture::Llum: name = "llum"; break;
    case Picture::LlumAvall: name = "llum_avall"; break;
    case Picture::Ull: name = "ull"; break;
    case Picture::BuidaPot: name = "buida_pot"; break;
    case Picture::Pinta: name = "pinta"; break;
    default:
      name = std::string("tinta_") + tintes[static_cast<int>(picture) - static_cast<int>(Picture::Tinta0)];
  }
  const RawPicture raw = rawPicture(name);
  if (!raw.pixels) return {};
  // The image only borrows the constant pixels; the pixmap takes its own copy.
  const QImage image(reinterpret_cast<const uchar*>(raw.pixels), raw.width, raw.height,
                     raw.width * static_cast<qsizetype>(sizeof(std::uint32_t)), QImage::Format_RGB32);
  return QPixmap::fromImage(image);
}

}  // namespace corvani
