// The drawing surface's display list, its painting, and which part of it each change repaints.
#include "ui/llenc.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>

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
  followRatio(devicePixelRatioF());
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

// The covers of the lines are for one device pixel ratio: at another they are found again, and
// the whole surface repainted.
void Llenc::followRatio(qreal ratio) {
  if (ratio == coversRatio_) return;
  coversRatio_ = ratio;
  for (std::size_t i = 0; i < traces_.size(); ++i) covers_[i] = footprint(traces_[i]);
  update();
}

// As the painter composes it from translate() and scale().
QTransform Llenc::drawing() const { return QTransform().translate(origin_.x(), origin_.y()).scale(scale_, scale_); }

QTransform Llenc::toDevice(int ratio) const { return drawing() * QTransform::fromScale(ratio, ratio); }

// Where device pixels are whole, a line covers the widget pixels its own pixels lie in, a
// rectangle for each band of 16 rows: one for a level line, a few for a slanted one. Thinner
// bands leave less black to paint but more rectangles, and each costs Qt more than the black
// saved. At a fractional ratio a line reaches half its pen's width beyond its ends (round caps)
// and to either side, at the view's scale. Without antialiasing a pixel is painted when its
// centre lies inside the pen's outline, so one pixel more takes in every pixel the line touches.
// A slanted line is covered piece by piece, by the rectangles of stretches about 24 pixels long,
// rather than by its whole bounding rectangle.
QRegion Llenc::footprint(const Trace& t) const {
  if (t.shape) return footprint(*t.shape);
  if (coversRatio_ >= 1 && coversRatio_ == std::floor(coversRatio_)) {
    const int ratio = int(coversRatio_);
    const auto down = [ratio](int device) { return device >= 0 ? device / ratio : -((-device + ratio - 1) / ratio); };
    constexpr int band = 16;
    QRegion covered;
    QRect inBand;
    for (const QRect& r : pixelsOf(t, toDevice(ratio))) {
      const QRect w(QPoint(down(r.left()), down(r.top())), QPoint(down(r.right()), down(r.bottom())));
      if (!inBand.isEmpty() && w.top() - inBand.top() >= band) {
        covered += inBand;
        inBand = {};
      }
      inBand |= w;
    }
    return covered + inBand;
  }
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
  return controls_ ? escala::toQRect(escala::shapeRect(shape, *controls_)) : escala::toPixels(layoutOf(shape).rect);
}

bool Llenc::opaque(Ctl shape) {
  const ControlLayout& row = layoutOf(shape);
  return row.backOpaque || row.fill;
}

void Llenc::paintShape(QPainter& p, Ctl shape) const {
  const Color windowText = fromQColor(palette().color(QPalette::WindowText));
  for (const escala::Pinzellada& part : escala::pinturaDe(shape, *controls_, windowText))
    p.fillRect(escala::toQRect(part.rect), toQColor(part.color));
}

void Llenc::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const qreal ratio = p.device()->devicePixelRatio();
  followRatio(ratio);
  if (controls_ && ratio == std::floor(ratio)) paintInDevicePixels(p, event->region(), int(ratio));
  else paintStroked(p, event->region());
}

// Only what reaches the region being repainted is drawn: a line's outline is costly to build,
// and black goes on the region's own rectangles, not on the whole widget clipped to them.
void Llenc::paintStroked(QPainter& p, const QRegion& region) const {
  for (const QRect& r : region) p.fillRect(r, Qt::black);
  if (!controls_) return;
  p.translate(origin_);
  p.scale(scale_, scale_);
  for (Ctl shape : shapesBottomUp)
    if (region.intersects(footprint(shape))) paintShape(p, shape);
  for (std::size_t i = 0; i < traces_.size(); ++i) {
    if (!reaches(i, region)) continue;
    const Trace& t = traces_[i];
    if (t.shape) paintShape(p, *t.shape);
    else stroke(p, t);
  }
}

bool Llenc::reaches(std::size_t trace, const QRegion& region) const {
  const QRegion covered = cover(trace);
  return region.boundingRect().intersects(covered.boundingRect()) && region.intersects(covered);
}

void Llenc::stroke(QPainter& p, const Trace& line) const {
  p.setPen(QPen(toQColor(line.color), line.width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(escala::toPixels(line.from), escala::toPixels(line.to));
}

// The same drawing, where a device pixel is a whole number of them to a widget pixel. A level
// line is a few rectangles of pixels (the rows of its round caps, then its body), found once by
// the pen and filled as they are, where the pen would build the caps' curves and cut them into
// rows on every paint; at three device pixels to one that is most of a click's cost. A slanted
// line is a rectangle a row, which the pen fills in fewer instructions, so it is still stroked.
// Clipped to the whole region, every fill is cut row by row against it; clipped to one of its
// rectangles, a fill is a plain fill. Clipping costs the region's size each time, so a region of a
// few rectangles is painted one at a time, and one of many, as the pieces of slanted lines make,
// at once. (Painting more rectangles one at a time, their slanted lines filled from their kept
// rows, takes fewer instructions at three device pixels to one, but more time.)
void Llenc::paintInDevicePixels(QPainter& p, const QRegion& region, int ratio) {
  // The lines of a few benches are kept; beyond that the kept ones are of benches long gone.
  constexpr std::size_t kept = 64;
  if (linePixels_.size() > kept) linePixels_.clear();
  Layers layers{toDevice(ratio), ratio, {}, {}};
  for (Ctl shape : shapesBottomUp) layers.shapes[ord(shape)] = footprint(shape);
  // An opaque shape repainted over the lines hides all that lies beneath it: of its paints only
  // the last is seen.
  layers.lastRepaint.fill(Layers::none);
  for (std::size_t i = 0; i < traces_.size(); ++i)
    if (traces_[i].shape && opaque(*traces_[i].shape)) layers.lastRepaint[ord(*traces_[i].shape)] = i;
  constexpr int fewRects = 12;
  if (region.rectCount() > fewRects) {
    paintWithin(p, region, layers);
    return;
  }
  for (const QRect& r : region) {
    p.resetTransform();
    p.setClipRect(r);
    paintWithin(p, QRegion(r), layers);
  }
}

// Black goes on the region's bounding rectangle in one fill, which the clip keeps to the region.
void Llenc::paintWithin(QPainter& p, const QRegion& region, const Layers& layers) {
  const int ratio = layers.ratio;
  const QRect bounds = region.boundingRect();
  p.resetTransform();
  p.fillRect(bounds, Qt::black);
  const QTransform drawing = this->drawing();
  const QTransform devicePixels = QTransform::fromScale(1.0 / ratio, 1.0 / ratio);
  p.setWorldTransform(drawing);
  for (Ctl shape : shapesBottomUp)
    if (layers.lastRepaint[ord(shape)] == Layers::none && region.intersects(layers.shapes[ord(shape)]))
      paintShape(p, shape);
  const int top = bounds.top() * ratio, bottom = (bounds.bottom() + 1) * ratio - 1;
  for (std::size_t i = 0; i < traces_.size(); ++i) {
    const Trace& t = traces_[i];
    const std::size_t last = t.shape ? layers.lastRepaint[ord(*t.shape)] : Layers::none;
    if (last != Layers::none && last != i) continue;
    if (!reaches(i, region)) continue;
    if (t.shape) {
      paintShape(p, *t.shape);
      continue;
    }
    if (t.from.y != t.to.y) {
      stroke(p, t);
      continue;
    }
    const std::vector<QRect>& rects = pixelsOf(t, layers.toDevice);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(t.color));
    const auto first = std::lower_bound(rects.begin(), rects.end(), top,
                                        [](const QRect& rect, int y) { return rect.bottom() < y; });
    auto end = first;
    while (end != rects.end() && end->top() <= bottom) ++end;
    if (first == end) continue;
    p.setWorldTransform(devicePixels);
    p.drawRects(&*first, int(end - first));
    p.setWorldTransform(drawing);
  }
}

// The pixels the pen covers, found by stroking the line alone on a mask with the same transform
// moved by whole device pixels, which moves the pen's outline and its filling by as much.
const std::vector<QRect>& Llenc::pixelsOf(const Trace& line, const QTransform& toDevice) const {
  if (toDevice != linePixelsFor_) {
    linePixels_.clear();
    linePixelsFor_ = toDevice;
  }
  for (const LinePixels& kept : linePixels_)
    if (kept.from == line.from && kept.to == line.to && kept.width == line.width) return kept.rects;
  const QPointF from = escala::toPixels(line.from), to = escala::toPixels(line.to);
  const double pad = line.width * std::max(std::abs(toDevice.m11()), std::abs(toDevice.m22())) / 2 + 2;
  const QRect box =
      QRectF(toDevice.map(from), toDevice.map(to)).normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect();
  QImage mask(box.size(), QImage::Format_Alpha8);
  mask.fill(0);
  {
    QPainter m(&mask);
    m.setWorldTransform(toDevice * QTransform::fromTranslate(-box.left(), -box.top()));
    m.setPen(QPen(Qt::black, line.width, Qt::SolidLine, Qt::RoundCap));
    m.drawLine(from, to);
  }
  // The runs of covered pixels row by row (a covered pixel is 255, as the pen is opaque and
  // draws without antialiasing); a row with the same runs as the row above extends its rectangles
  // downwards.
  std::vector<QRect> rects;
  std::size_t above = 0;  // where the rectangles that end on the row above begin
  for (int y = 0; y < mask.height(); ++y) {
    const uchar* row = mask.constScanLine(y);
    const uchar* end = row + mask.width();
    const std::size_t start = rects.size();
    for (const uchar* x = row; x < end;) {
      const auto* run = static_cast<const uchar*>(std::memchr(x, 255, std::size_t(end - x)));
      if (!run) break;
      const auto* after = static_cast<const uchar*>(std::memchr(run, 0, std::size_t(end - run)));
      if (!after) after = end;
      rects.emplace_back(box.left() + int(run - row), box.top() + y, int(after - run), 1);
      x = after;
    }
    const std::size_t count = rects.size() - start;
    const auto sameRun = [](const QRect& now, const QRect& before) {
      return now.left() == before.left() && now.right() == before.right() && before.bottom() == now.top() - 1;
    };
    if (count > 0 && count == start - above &&
        std::equal(rects.begin() + long(start), rects.end(), rects.begin() + long(above), sameRun)) {
      for (std::size_t k = 0; k < count; ++k) rects[above + k].setBottom(rects[start + k].top());
      rects.resize(start);
    } else if (count > 0) {
      above = start;
    }
  }
  linePixels_.push_back({line.from, line.to, line.width, std::move(rects)});
  return linePixels_.back().rects;
}

}  // namespace corvani
