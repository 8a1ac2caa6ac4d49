// Which compiled-in picture each name is, as a pixmap.
#include "ui/imatges.h"

#include <QImage>

#include "assets/noms.h"
#include "assets/pixels.h"

namespace corvani {

QPixmap pixmapOf(Picture picture) {
  if (picture == Picture::None) return {};
  const RawPicture raw = rawPicture(pictureName(picture));
  if (!raw.pixels) return {};
  // The image only borrows the constant pixels; the pixmap takes its own copy.
  const QImage image(reinterpret_cast<const uchar*>(raw.pixels), raw.width, raw.height,
                     raw.width * static_cast<qsizetype>(sizeof(std::uint32_t)), QImage::Format_RGB32);
  return QPixmap::fromImage(image);
}

}  // namespace corvani
