// The drawing surface: the black client area with the shapes, and the lines drawn since the
// last clear, painted at the drawing scale. Level lines are filled from their pixels, found once.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRegion>
#include <QTransform>
#include <QWidget>
#include <array>
#include <deque>
#include <vector>

#include "model/banc.h"
#include "model/controls.h"
#include "model/ports.h"

namespace corvani {

class Llenc : public QWidget, public Surface {
public:
  explicit Llenc(QWidget* parent);
  void setControls(const Controls* controls);
  // The bench whose shapes screen readers are told of.
  void setEstat(const Estat* estat) { estat_ = estat; }
  const Controls* controls() const { return controls_; }
  const Estat* estat() const { return estat_; }
  // The latest notice for screen readers, the text of the surface's notification.
  void setAvis(const QString& text) { avis_ = text; }
  const QString& avis() const { return avis_; }
  // Where the bench lies on the widget: its top-left corner and its scale (1 at 867 × 618).
  void setView(QPointF origin, double scale);
  QPointF origin() const { return origin_; }
  double scale() const { return scale_; }

  void clear() override;
  void setLineWidth(int pixels) override;
  void line(Point from, Point to, Color color) override;
  void repaintShape(Ctl shape) override;
  // A shape's extent, colour or visibility has changed: repaints where it was and where it is.
  void shapeChanged(Ctl shape);

  // What the surface holds, in drawing order: lines and shape repaints.
  struct Trace {
    Point from, to;
    Color color = 0;
    int width = 1;
    std::optional<Ctl> shape;  // set for a shape repainted over the lines before it
  };
  const std::vector<Trace>& traces() const { return traces_; }

  // The rectangle in pixels that a shape covers now, after any run-time change of its extent.
  QRect shapeRect(Ctl shape) const;

  // The surface as the pen draws it, every line stroked, within the region: what the surface
  // must look like, and how it paints where device pixels are not whole.
  void paintStroked(QPainter& p, const QRegion& region) const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void paintShape(QPainter& p, Ctl shape) const;
  // Whether a shown shape covers its whole rectangle, with its back or its fill.
  static bool opaque(Ctl shape);
  // What a paint in device pixels finds once for all the rectangles it paints.
  struct Layers {
    static constexpr std::size_t none = std::size_t(-1);
    QTransform toDevice;
    int ratio;
    std::array<QRect, controlCount> shapes;             // by shape: its footprint
    std::array<std::size_t, controlCount> lastRepaint;  // by shape: its last repaint, if opaque
  };
  void paintInDevicePixels(QPainter& p, const QRegion& region, int ratio);
  void paintWithin(QPainter& p, const QRegion& region, const Layers& layers);
  // A line's pixels as rectangles of device pixels, top to bottom, found by the pen when the line
  // is first covered or painted at this view and ratio; the reference lasts until the next paint.
  const std::vector<QRect>& pixelsOf(const Trace& line, const QTransform& toDevice) const;
  // From the drawing scale to widget pixels, and to device pixels, at the current view.
  QTransform drawing() const;
  QTransform toDevice(int ratio) const;
  // Whether a trace touches the region being repainted.
  bool reaches(std::size_t trace, const QRegion& region) const;
  void stroke(QPainter& p, const Trace& line) const;
  void followRatio(qreal ratio);
  // What a trace or a shape can touch, in widget pixels at the current view.
  QRegion footprint(const Trace& t) const;
  QRegion cover(std::size_t trace) const;
  QRect footprint(Ctl shape) const;
  void noteShapes();

  const Controls* controls_ = nullptr;
  const Estat* estat_ = nullptr;
  QString avis_;
  std::vector<Trace> traces_;
  std::vector<QRegion> covers_;  // each line's footprint, by trace; empty for shapes
  std::array<QRect, controlCount> shapeFootprints_{};  // as last painted or asked to be
  // The pixels of the lines drawn so far (level ones are filled from them; all are covered by
  // them), for one transform from the drawing scale to device pixels; emptied when it changes.
  // A deque, so that adding one leaves the others in place.
  struct LinePixels {
    Point from, to;
    int width;
    std::vector<QRect> rects;
  };
  mutable std::deque<LinePixels> linePixels_;
  mutable QTransform linePixelsFor_;
  qreal coversRatio_ = 0;  // the device pixel ratio the lines' covers are for
  int width_ = 1;
  QPointF origin_;
  double scale_ = 1;
};

}  // namespace corvani
