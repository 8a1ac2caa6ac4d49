// The conversion from the window's units to pixels (view/escala.h) in Qt's types.
#pragma once

#include <QPaintDevice>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "view/escala.h"

namespace corvani::escala {

inline constexpr QSize client{clientWidth, clientHeight};  // 867 × 618

inline QRect toQRect(PixelRect r) { return {r.left, r.top, r.width, r.height}; }
inline QRect toPixels(TwipRect r) { return toQRect(pixelRect(r)); }
inline QPointF toPixels(Point p) {
  const PixelPoint q = pixelPoint(p);
  return {q.x, q.y};
}

// The window was laid out at 96 dots per inch, so a caption's point is 96/72 of the bench's pixels
// whatever the desktop's dots per inch or Qt's scaling: points for the device are the bench's
// points times this.
inline constexpr double layoutDpi = 96;
inline double pointsFor(const QPaintDevice& device) { return layoutDpi / device.logicalDpiY(); }

}  // namespace corvani::escala
