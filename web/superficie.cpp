// The page's drawing surface: its display list, the lines' pixels, and the repaint of what changed.
#include "web/superficie.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/layout.h"

namespace corvani::web {
namespace {

using escala::PixelRect;

// The shapes from the bottom of the stack up.
constexpr std::array<Ctl, 6> shapesBottomUp = {Ctl::shpFiltre0, Ctl::shpFiltre1, Ctl::shpFiltre2,
                                               Ctl::shpPaper,   Ctl::shpPotMescla, Ctl::shpMescla};

// A colour as the page's canvas takes it: opaque, black too. Chromium keeps a zero alpha written
// into an opaque canvas, which shows black on the screen but a hole in a screenshot of the page.
constexpr std::uint32_t pixel(Color c) { return static_cast<std::uint32_t>(c) | 0xFF000000u; }

PixelRect intersected(PixelRect a, PixelRect b) {
  const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
  const int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
  return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

bool empty(PixelRect r) { return r.width <= 0 || r.height <= 0; }

PixelRect united(PixelRect a, PixelRect b) {
  if (empty(a)) return b;
  if (empty(b)) return a;
  const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

struct Span {
  double lo = INFINITY, hi = -INFINITY;
  void add(double x) { lo = std::min(lo, x), hi = std::max(hi, x); }
};

// Where the row at height y crosses the disc of radius r about c.
void disc(Span& span, double cx, double cy, double r, double y) {
  const double dy = y - cy;
  if (std::abs(dy) > r) return;
  const double half = std::sqrt(r * r - dy * dy);
  span.add(cx - half);
  span.add(cx + half);
}

// Where the row at height y crosses the edge from p to q of a convex polygon.
void edge(Span& span, double px, double py, double qx, double qy, double y) {
  if ((y < py && y < qy) || (y > py && y > qy)) return;
  if (py == qy) {
    span.add(px);
    span.add(qx);
    return;
  }
  span.add(px + (qx - px) * (y - py) / (qy - py));
}

}  // namespace

// The page's canvas is black once it is given its size: only what is not black is painted.
void Superficie::setView(int width, int height, escala::Vista view) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  view_ = view;
  dirty_.clear();
  for (Ctl shape : shapesBottomUp) shapesPainted_[ord(shape)] = footprint(shape);
  window_ = {0, 0, width_, height_};
  touchContent(window_);
}

// What stays in the window stays as the page has it; what enters is black there.
void Superficie::setWindow(PixelRect window) {
  const PixelRect before = window_;
  window_ = intersected(window, {0, 0, width_, height_});
  std::vector<PixelRect> within;
  for (const PixelRect& d : dirty_)
    if (const PixelRect r = intersected(d, window_); !empty(r)) within.push_back(r);
  dirty_ = std::move(within);
  const PixelRect kept = intersected(before, window_);
  if (empty(kept)) {
    touchContent(window_);
    return;
  }
  // What enters: the rows above and below what is kept, and the columns either side of it.
  touchContent({window_.left, window_.top, window_.width, kept.top - window_.top});
  touchContent({window_.left, kept.bottom(), window_.width, window_.bottom() - kept.bottom()});
  touchContent({window_.left, kept.top, kept.left - window_.left, kept.height});
  touchContent({kept.right(), kept.top, window_.right() - kept.right(), kept.height});
}

void Superficie::touchContent(PixelRect part) {
  if (empty(part)) return;
  for (Ctl shape : shapesBottomUp)
    if (controls_->visible(shape)) touch(shapesPainted_[ord(shape)], part);
  for (const Trace& t : traces_) touch(footprint(t), part);
}

// Only where the erased lines lay: the lines and shapes drawn next mark their own places.
void Superficie::clear() {
  for (const Trace& t : traces_)
    if (!t.shape) touch(footprint(t));
  traces_.clear();
}

void Superficie::line(Point from, Point to, Color color) {
  traces_.push_back({from, to, color, lineWidth_, std::nullopt});
  touch(footprint(traces_.back()));
}

void Superficie::repaintShape(Ctl shape) {
  traces_.push_back({{}, {}, 0, lineWidth_, shape});
  touch(footprint(shape));
}

void Superficie::shapeChanged(Ctl shape) {
  PixelRect& last = shapesPainted_[ord(shape)];
  touch(last);
  last = footprint(shape);
  touch(last);
}

// A place touched more than once, as a line erased and drawn again where it was or a shape
// changed in place, is painted and copied once.
void Superficie::touch(PixelRect r, PixelRect within) {
  r = intersected(intersected(r, within), window_);
  if (empty(r) || std::any_of(dirty_.begin(), dirty_.end(), [&](PixelRect d) { return d.contains(r); })) return;
  std::erase_if(dirty_, [&](PixelRect d) { return r.contains(d); });
  dirty_.push_back(r);
}

PixelRect Superficie::footprint(Ctl shape) const {
  return escala::place(escala::shapeRect(shape, *controls_), view_);
}

PixelRect Superficie::footprint(const Trace& t) const {
  if (t.shape) return footprint(*t.shape);
  PixelRect box;
  for (const Run& run : runsOf(t.from, t.to, t.width, window_.top, window_.bottom()))
    box = united(box, {run.left, run.y, run.right - run.left, 1});
  return box;
}

// The pen's outline is the line's body, a rectangle half the width to either side, and a round
// cap of that radius at either end. A pixel is the line's when the outline holds the point a
// sixty-fourth of a pixel up and left of its centre, as the desktop's pen fills without
// antialiasing, so that an edge through a row of centres takes the row on one side only. Each row
// crosses the outline in one stretch, as the outline is convex. A row's pixels are the same
// whichever rows are asked for.
std::vector<Superficie::Run> Superficie::runsOf(Point from, Point to, int width, int top, int bottom) const {
  const escala::PixelPoint p = escala::pixelPoint(from), q = escala::pixelPoint(to);
  const double s = view_.scale, r = width * s / 2;
  const double ax = view_.x + p.x * s, ay = view_.y + p.y * s, bx = view_.x + q.x * s, by = view_.y + q.y * s;
  const double length = std::hypot(bx - ax, by - ay);
  const double nx = length > 0 ? -(by - ay) / length * r : 0, ny = length > 0 ? (bx - ax) / length * r : 0;
  const std::array<double, 8> body = {ax + nx, ay + ny, bx + nx, by + ny, bx - nx, by - ny, ax - nx, ay - ny};
  std::vector<Run> runs;
  const int first = std::max(top, static_cast<int>(std::floor(std::min(ay, by) - r)));
  const int last = std::min(bottom - 1, static_cast<int>(std::ceil(std::max(ay, by) + r)));
  constexpr double sample = 0.5 - 1.0 / 64;
  for (int y = first; y <= last; ++y) {
    const double centre = y + sample;
    Span span;
    disc(span, ax, ay, r, centre);
    disc(span, bx, by, r, centre);
    if (length > 0)
      for (int k = 0; k < 4; ++k)
        edge(span, body[2 * k], body[2 * k + 1], body[(2 * k + 2) % 8], body[(2 * k + 3) % 8], centre);
    if (span.lo > span.hi) continue;
    const int left = static_cast<int>(std::ceil(span.lo - sample));
    const int right = static_cast<int>(std::floor(span.hi - sample)) + 1;
    if (right > left) runs.push_back({y, left, right});
  }
  return runs;
}

// A long list of small rectangles costs more in calls to the canvas than the black it saves.
// Two rectangles whose union is no larger than both together, as the three beams of the ray split
// into its primaries, are painted as their union: what they share is painted and copied once.
// Each rectangle is painted whole into its own piece of the pixels, so that the surface never
// holds, clears or touches more pixels than it paints.
const std::vector<PixelRect>& Superficie::paint() {
  constexpr std::size_t manyRects = 24;
  const auto area = [](PixelRect r) { return std::size_t(r.width) * std::size_t(r.height); };
  for (std::size_t a = 0; a < dirty_.size(); ++a) {
    for (std::size_t b = a + 1; b < dirty_.size(); ++b) {
      const PixelRect both = united(dirty_[a], dirty_[b]);
      if (area(both) > area(dirty_[a]) + area(dirty_[b])) continue;
      dirty_[a] = both;
      dirty_.erase(dirty_.begin() + std::ptrdiff_t(b));
      b = a;  // the union may take in a rectangle already passed
    }
  }
  if (dirty_.size() > manyRects) {
    PixelRect all;
    for (const PixelRect& r : dirty_) all = united(all, r);
    dirty_ = {all};
  }
  std::size_t size = 0;
  for (const PixelRect& r : dirty_) size += std::size_t(r.width) * std::size_t(r.height);
  pixels_.resize(size);
  std::uint32_t* piece = pixels_.data();
  for (const PixelRect& r : dirty_) {
    paintWithin({r, piece});
    piece += std::size_t(r.width) * std::size_t(r.height);
  }
  painted_.swap(dirty_);
  dirty_.clear();
  return painted_;
}

// Black, the shapes from the bottom up, then the lines and the shapes repainted over them.
void Superficie::paintWithin(const Piece& piece) {
  fill(piece.rect, colors::black, piece);
  for (Ctl shape : shapesBottomUp)
    if (!empty(intersected(footprint(shape), piece.rect))) paintShape(shape, piece);
  for (const Trace& t : traces_) {
    if (t.shape) {
      paintShape(*t.shape, piece);
      continue;
    }
    if (empty(intersected(footprint(t), piece.rect))) continue;
    const std::uint32_t color = pixel(t.color);
    for (const Run& run : runsOf(t.from, t.to, t.width, piece.rect.top, piece.rect.bottom())) {
      const int left = std::max(run.left, piece.rect.left), right = std::min(run.right, piece.rect.right());
      if (left < right) std::fill_n(piece.at(left, run.y), right - left, color);
    }
  }
}

// Each part laid out at scale 1 and placed at the view as the controls are. Borders without a
// colour of their own are black, the window-text colour of the desktop's usual palette.
void Superficie::paintShape(Ctl shape, const Piece& piece) {
  for (const escala::Pinzellada& part : escala::pinturaDe(shape, *controls_, colors::black))
    fill(escala::place(part.rect, view_), part.color, piece);
}

void Superficie::fill(PixelRect r, Color color, const Piece& piece) {
  r = intersected(r, piece.rect);
  if (empty(r)) return;
  const std::uint32_t p = pixel(color);
  for (int y = r.top; y < r.bottom(); ++y) std::fill_n(piece.at(r.left, y), r.width, p);
}

}  // namespace corvani::web
