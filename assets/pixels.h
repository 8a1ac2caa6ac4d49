// The program's pictures as opaque pixels compiled into it, generated at build time from the
// committed PNGs, so that none is decoded while the program starts.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace corvani {

// Rows from the top, each pixel 0xffRRGGBB (QImage::Format_RGB32 in native byte order).
struct RawPicture {
  std::string_view name;  // the PNG's name without ".png"
  int width = 0, height = 0;
  const std::uint32_t* pixels = nullptr;
};

// Every picture, in the generated source.
extern const std::span<const RawPicture> rawPictures;

// The named picture, or one with no pixels if there is none by that name.
RawPicture rawPicture(std::string_view name);

}  // namespace corvani
