// The one conversion from the window's units to pixels: twips for the laid-out rectangles,
// drawing units (13000 × 9000 over the client area) for lines and run-time extents.
#pragma once

#include <QPaintDevice>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <cmath>

#include "model/layout.h"
#include "model/ports.h"

namespace corvani::escala {

inline constexpr int twipsPerPixel = 15;
inline constexpr double clientTwipsWidth = 13005, clientTwipsHeight = 9270;
inline constexpr double unitsWidth = 13000, unitsHeight = 9000;
inline constexpr QSize client{static_cast<int>(clientTwipsWidth) / twipsPerPixel,
                              static_cast<int>(clientTwipsHeight) / twipsPerPixel};  // 867 × 618

inline constexpr double pixelsPerUnitX = clientTwipsWidth / unitsWidth / twipsPerPixel;
inline constexpr double pixelsPerUnitY = clientTwipsHeight / unitsHeight / twipsPerPixel;

inline int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips / double(twipsPerPixel))); }
inline QRect toPixels(TwipRect r) {
  return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width), twipsToPixels(r.height)};
}
inline QPointF toPixels(Point p) { return {p.x * pixelsPerUnitX, p.y * pixelsPerUnitY}; }
inline int unitsToPixelsY(float y) { return static_cast<int>(std::lround(y * pixelsPerUnitY)); }

// The window was laid out at 96 dots per inch, so a caption's point is 96/72 of the bench's pixels
// whatever the desktop's dots per inch or Qt's scaling: points for the device are the bench's
// points times this.
inline constexpr double layoutDpi = 96;
inline double pointsFor(const QPaintDevice& device) { return layoutDpi / device.logicalDpiY(); }

}  // namespace corvani::escala
