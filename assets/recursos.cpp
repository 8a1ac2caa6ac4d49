// Finds a picture among those generated from the committed PNGs.
#include "assets/pixels.h"

#include <algorithm>

namespace corvani {

RawPicture rawPicture(std::string_view name) {
  const auto found = std::find_if(rawPictures.begin(), rawPictures.end(), [&](const RawPicture& p) { return p.name == name; });
  return found == rawPictures.end() ? RawPicture{} : *found;
}

}  // namespace corvani
