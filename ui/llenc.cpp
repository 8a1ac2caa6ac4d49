// The drawing surface's display list, its painting, and which part of it each change repaints.
#include "ui/llenc.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "model/layout.h"
#include "ui/escala.h"
#include "ui/qtcolor.h"

namespace corvani {
namespace {
// The shapes from the bottom of the stack up.
constexpr Ctl shapesBottomUp[] = {Ctl::shpFiltre0, Ctl::shpFiltre1, Ctl::shpFiltre2,
                                  Ctl::shpPaper,   Ctl::shpPotMescla, Ctl::shpMescla};
}  // namespace

Llenc::Llenc(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setGeometry(QRect(QPoint(0, 0), escala::client));
}

void Llenc::setControls(const Controls* controls) {
  controls_ = controls;
  noteShapes();
  update();
}

void Llenc::setView(QPointF origin, double scale) {
  origin_ = origin;
  scale_ = scale;
  noteShapes();
  for (std::size_t i = 0; i < traces_.size(); ++i) covers_[i] = footprint(traces_[i]);
  update();
}

// Only where the erased lines lay: the lines and shapes drawn next mark their own places.
void Llenc::clear() {
  for (std::size_t i = 0; i < traces_.size(); ++i) update(cover(i));
  traces_.clear();
  covers_.clear();
}

void Llenc::setLineWidth(int pixels) { width_ = pixels; }

void Llenc::line(Point from, Point to, Color color) {
  traces_.push_back({from, to, color, width_, std::nullopt});
  covers_.push_back(footprint(traces_.back()));
  update(covers_.back());
}

void Llenc::repaintShape(Ctl shape) {
  traces_.push_back({{}, {}, 0, width_, shape});
  covers_.emplace_back();
  update(cover(traces_.size() - 1));
}

void Llenc::shapeChanged(Ctl shape) {
  QRect& last = shapeFootprints_[ord(shape)];
  update(last);
  last = footprint(shape);
  update(last);
}

void Llenc::noteShapes() {
  if (!controls_) return;
  for (Ctl shape : shapesBottomUp) shapeFootprints_[ord(shape)] = footprint(shape);
}

// A line's footprint is kept, a shape's taken as it is now, since the shape may have changed.
QRegion Llenc::cover(std::size_t trace) const {
  const Trace& t = traces_[trace];
  return t.shape ? QRegion(footprint(*t.shape)) : covers_[trace];
}

// One pixel of margin on every side takes in the rounding of scaled edges to pixels.
QRect Llenc::footprint(Ctl shape) const {
  const QRectF r(shapeRect(shape));
  return QRectF(origin_ + r.topLeft() * scale_, r.size() * scale_).toAlignedRect().adjusted(-1, -1, 1, 1);
}

// A line reaches half its pen's width beyond its ends (round caps) and to either side, at the
// view's scale. Without antialiasing a pixel is painted when its centre lies inside the pen's
// outline, so one pixel more takes in every pixel the line touches. A
// slanted line is covered piece by piece, by the rectangles of stretches about 24 pixels long,
// rather than by its whole bounding rectangle.
QRegion Llenc::footprint(const Trace& t) const {
  if (t.shape) return footprint(*t.shape);
  const QPointF a = origin_ + escala::toPixels(t.from) * scale_, b = origin_ + escala::toPixels(t.to) * scale_;
  const double pad = t.width * scale_ / 2 + 1;
  const QPointF d = b - a;
  const int pieces = std::abs(d.x()) < 1 || std::abs(d.y()) < 1 ? 1 : std::max(1, int(std::hypot(d.x(), d.y()) / 24));
  QRegion covered;
  for (int i = 0; i < pieces; ++i) {
    const QRectF piece(a + d * (double(i) / pieces), a + d * (double(i + 1) / pieces));
    covered += piece.normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect();
  }
  return covered;
}

QRect Llenc::shapeRect(Ctl shape) const {
  QRect r = escala::toPixels(layoutOf(shape).rect);
  if (controls_) {
    const ControlState& s = (*controls_)[shape];
    // The bottom edge is rounded once, so that it stays put while the top moves.
    if (s.top && s.height) {
      r.setTop(escala::unitsToPixelsY(*s.top));
      r.setBottom(escala::unitsToPixelsY(*s.top + *s.height) - 1);
    }
  }
  return r;
}

// Back (when opaque), then fill (when solid), then the border inside the rectangle.
void Llenc::paintShape(QPainter& p, Ctl shape) const {
  const ControlState& s = (*controls_)[shape];
  const ControlLayout& row = layoutOf(shape);
  const QRect r = shapeRect(shape);
  if (!s.visible || r.height() <= 0 || r.width() <= 0) return;
  if (row.backOpaque) p.fillRect(r, toQColor(s.back));
  if (row.fill) p.fillRect(r, toQColor(s.fill));
  const QColor border = row.border ? toQColor(*row.border) : palette().color(QPalette::WindowText);
  const int w = std::min({row.borderWidth, r.width(), r.height()});
  if (w <= 0) return;
  p.fillRect(r.left(), r.top(), r.width(), w, border);
  p.fillRect(r.left(), r.bottom() - w + 1, r.width(), w, border);
  p.fillRect(r.left(), r.top(), w, r.height(), border);
  p.fillRect(r.right() - w + 1, r.top(), w, r.height(), border);
}

// Only what reaches the region being repainted is drawn: a line's outline is costly to build,
// and black goes on the region's own rectangles, not on the whole widget clipped to them.
void Llenc::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRegion& region = event->region();
  for (const QRect& r : region) p.fillRect(r, Qt::black);
  if (!controls_) return;
  p.translate(origin_);
  p.scale(scale_, scale_);
  for (Ctl shape : shapesBottomUp)
    if (region.intersects(footprint(shape))) paintShape(p, shape);
  const QRect bounds = region.boundingRect();
  for (std::size_t i = 0; i < traces_.size(); ++i) {
    const Trace& t = traces_[i];
    const QRegion covered = cover(i);
    if (!bounds.intersects(covered.boundingRect()) || !region.intersects(covered)) continue;
    if (t.shape) {
      paintShape(p, *t.shape);
      continue;
    }
    p.setPen(QPen(toQColor(t.color), t.width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(escala::toPixels(t.from), escala::toPixels(t.to));
  }
}

}  // namespace corvani
