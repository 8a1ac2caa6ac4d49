// The page's canvas, as the tests see it: black once it is given its size, then every rectangle
// the surface paints copied onto it, as the page copies them; the whole area the surface spans.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "web/superficie.h"

class Tela {
public:
  // An opaque canvas given a size: red, green and blue zero, alpha 255.
  static constexpr std::uint32_t opaqueBlack = 0xFF000000u;

  explicit Tela(const corvani::web::Superficie& s)
      : width_(s.width()), pixels_(std::size_t(s.width()) * std::size_t(s.height()), opaqueBlack) {}

  // Paints the surface's changes and copies them on.
  void pinta(corvani::web::Superficie& s) {
    const std::vector<corvani::escala::PixelRect>& rects = s.paint();
    const std::uint32_t* from = s.pixels();
    for (const corvani::escala::PixelRect& r : rects)
      for (int y = r.top; y < r.bottom(); ++y, from += r.width)
        std::copy(from, from + r.width, pixels_.begin() + std::ptrdiff_t(std::size_t(y) * width_ + std::size_t(r.left)));
    painted_ = rects;
  }
  const std::vector<corvani::escala::PixelRect>& painted() const { return painted_; }

  // Only a window of the area kept, as the page keeps its tiles near the viewport: the rest is
  // black again, as the page's canvas is where a tile is made anew.
  void keepOnly(corvani::escala::PixelRect window) {
    for (std::size_t y = 0; y < pixels_.size() / width_; ++y)
      for (std::size_t x = 0; x < width_; ++x)
        if (int(x) < window.left || int(x) >= window.right() || int(y) < window.top || int(y) >= window.bottom())
          pixels_[y * width_ + x] = opaqueBlack;
  }

  corvani::Color at(int x, int y) const {
    return static_cast<corvani::Color>(pixels_[std::size_t(y) * width_ + std::size_t(x)] & 0xFFFFFF);
  }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }

private:
  std::size_t width_;
  std::vector<std::uint32_t> pixels_;
  std::vector<corvani::escala::PixelRect> painted_;
};
