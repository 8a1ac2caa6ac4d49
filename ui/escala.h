// The conversion from the window's units to pixels (view/escala.h) in Qt's types.
#pragma once

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

}  // namespace corvani::escala
