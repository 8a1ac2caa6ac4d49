// The drawing surface of the browser page: the shapes and the lines drawn since the last clear,
// rasterized without antialiasing into pixels at the page's device scale, and the
// rectangles that changed since the page last copied them to its canvas. The page shows a window
// onto the area, the bench magnified and scrolled; only what lies within the window is painted.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/controls.h"
#include "model/ports.h"
#include "view/escala.h"

namespace corvani::web {

class Superficie : public Surface {
public:
  // The controls whose shapes it paints; set before anything is drawn.
  void setControls(const Controls& controls) { controls_ = &controls; }

  // The area in device pixels and where the bench lies on it, black, all of it the window: what
  // lies on it is painted anew, and the next paint reports where.
  void setView(int width, int height, escala::Vista view);
  int width() const { return width_; }
  int height() const { return height_; }
  const escala::Vista& view() const { return view_; }
  // The part of the area the page shows, which it has black where it enters the window: what lies
  // there is painted by the next paint; what leaves it is painted no more, as the page lets it go.
  void setWindow(escala::PixelRect window);
  const escala::PixelRect& window() const { return window_; }

  void clear() override;
  void setLineWidth(int pixels) override { lineWidth_ = pixels; }
  void line(Point from, Point to, Color color) override;
  void repaintShape(Ctl shape) override;
  // A shape's extent, colour or visibility has changed: where it was and where it is change.
  void shapeChanged(Ctl shape);

  // Paints what changed and returns those rectangles, which the page copies to its canvas.
  const std::vector<escala::PixelRect>& paint();
  // The pixels of the rectangles the last paint returned, one rectangle after another, each
  // row by row from its top; each pixel red, green, blue and alpha bytes in that order (the
  // packed colour with an opaque alpha, on a little-endian machine such as WebAssembly).
  const std::uint32_t* pixels() const { return pixels_.data(); }

private:
  // A line's pixels, as runs along the rows, at the current view.
  struct Run {
    int y, left, right;  // columns left .. right - 1
  };
  // Only the rows from `top` to before `bottom` are given.
  std::vector<Run> runsOf(Point from, Point to, int width, int top, int bottom) const;
  struct Trace {
    Point from, to;
    Color color = 0;
    int width = 1;
    std::optional<Ctl> shape;  // a shape repainted over the lines before it
  };
  escala::PixelRect footprint(const Trace& t) const;
  escala::PixelRect footprint(Ctl shape) const;
  // Marks a rectangle to paint, within `within` as well as the window.
  void touch(escala::PixelRect r, escala::PixelRect within);
  void touch(escala::PixelRect r) { touch(r, window_); }
  // What lies within a part of the window that the page has black.
  void touchContent(escala::PixelRect part);
  // A rectangle of the surface being painted, and its pixels.
  struct Piece {
    escala::PixelRect rect;
    std::uint32_t* pixels;
    std::uint32_t* at(int x, int y) const {
      return pixels + std::size_t(y - rect.top) * std::size_t(rect.width) + std::size_t(x - rect.left);
    }
  };
  void paintWithin(const Piece& piece);
  void paintShape(Ctl shape, const Piece& piece);
  void fill(escala::PixelRect r, Color color, const Piece& piece);

  const Controls* controls_ = nullptr;
  std::vector<Trace> traces_;
  std::vector<escala::PixelRect> dirty_, painted_;
  std::vector<escala::PixelRect> shapesPainted_ = std::vector<escala::PixelRect>(controlCount);
  std::vector<std::uint32_t> pixels_;
  int width_ = 0, height_ = 0;
  escala::Vista view_;
  escala::PixelRect window_;
  int lineWidth_ = 1;
};

}  // namespace corvani::web
