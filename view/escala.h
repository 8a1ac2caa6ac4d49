// The one conversion from the window's units to pixels, for every front end: twips for the
// laid-out rectangles, drawing units (13000 × 9000 over the client area) for lines and run-time
// extents, and the view that scales the bench uniformly into a larger or smaller area.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "model/controls.h"
#include "model/layout.h"
#include "model/ports.h"

namespace corvani::escala {

inline constexpr int twipsPerPixel = 15;
inline constexpr double clientTwipsWidth = 13005, clientTwipsHeight = 9270;
inline constexpr double unitsWidth = 13000, unitsHeight = 9000;
inline constexpr int clientWidth = static_cast<int>(clientTwipsWidth) / twipsPerPixel;    // 867
inline constexpr int clientHeight = static_cast<int>(clientTwipsHeight) / twipsPerPixel;  // 618

inline constexpr double pixelsPerUnitX = clientTwipsWidth / unitsWidth / twipsPerPixel;
inline constexpr double pixelsPerUnitY = clientTwipsHeight / unitsHeight / twipsPerPixel;

// Whole pixels of the client area at scale 1.
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }  // one past the last column
  int bottom() const { return top + height; }  // one past the last row
  bool contains(const PixelRect& r) const {
    return r.left >= left && r.top >= top && r.right() <= right() && r.bottom() <= bottom();
  }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};
struct PixelPoint {
  double x = 0, y = 0;
};

inline int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips / double(twipsPerPixel))); }
inline PixelRect pixelRect(TwipRect r) {
  return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width), twipsToPixels(r.height)};
}
inline PixelPoint pixelPoint(Point p) { return {p.x * pixelsPerUnitX, p.y * pixelsPerUnitY}; }
inline int unitsToPixelsY(float y) { return static_cast<int>(std::lround(y * pixelsPerUnitY)); }

// The rectangle a shape covers now: its laid-out one, or the extent set at run time in drawing
// units, whose bottom edge is rounded once so that it stays put while the top moves.
inline PixelRect shapeRect(Ctl shape, const Controls& controls) {
  PixelRect r = pixelRect(layoutOf(shape).rect);
  const ControlState& s = controls[shape];
  if (s.top && s.height) {
    r.top = unitsToPixelsY(*s.top);
    r.height = unitsToPixelsY(*s.top + *s.height) - r.top;
  }
  return r;
}

// What a shown shape paints, from the bottom up, in pixels at scale 1: its back where opaque, its
// fill where solid, then its border inside its rectangle, a strip of the border's width a side.
// A border without a colour of its own is in the system's window-text colour.
struct Pinzellada {
  PixelRect rect;
  Color color = 0;
};
struct PinturaForma {
  std::array<Pinzellada, 6> parts;
  int count = 0;
  const Pinzellada* begin() const { return parts.data(); }
  const Pinzellada* end() const { return parts.data() + count; }
};
inline PinturaForma pinturaDe(Ctl shape, const Controls& controls, Color windowText) {
  PinturaForma paint;
  const ControlState& s = controls[shape];
  const ControlLayout& row = layoutOf(shape);
  const PixelRect r = shapeRect(shape, controls);
  if (!s.visible || r.width <= 0 || r.height <= 0) return paint;
  const auto add = [&paint](PixelRect part, Color color) { paint.parts[std::size_t(paint.count++)] = {part, color}; };
  if (row.backOpaque) add(r, s.back);
  if (row.fill) add(r, s.fill);
  const int w = std::min({row.borderWidth, r.width, r.height});
  if (w <= 0) return paint;
  const Color border = row.border.value_or(windowText);
  add({r.left, r.top, r.width, w}, border);
  add({r.left, r.bottom() - w, r.width, w}, border);
  add({r.left, r.top, w, r.height}, border);
  add({r.right() - w, r.top, w, r.height}, border);
  return paint;
}

// Where the bench lies in an area: the top-left corner of its client area and its scale, in
// the area's own pixels (1 at 867 × 618).
struct Vista {
  double x = 0, y = 0, scale = 1;
};

// The largest scale at which the bench fits the area, centred on it.
inline Vista fit(double width, double height) {
  const double scale = std::min(width / clientWidth, height / clientHeight);
  return {(width - clientWidth * scale) / 2, (height - clientHeight * scale) / 2, scale};
}

// The bench magnified `lupa` times over its fit to an area of width × height, to be scrolled over
// within the area: the extent it spans, at least the area less its scroll bars, where the bench
// lies on that extent (centred across what it does not fill), and the viewport, the area less a
// scroll bar `barra` pixels thick along each side the bench overflows. At lupa 1 the extent is
// the area and the view the fit.
struct Ampliada {
  Vista view;
  int width = 0, height = 0;  // the extent
  int viewportWidth = 0, viewportHeight = 0;
  bool scrollsAcross() const { return width > viewportWidth; }
  bool scrollsDown() const { return height > viewportHeight; }
};

inline Ampliada amplia(int width, int height, double lupa, int barra) {
  const Vista f = fit(width, height);
  const double scale = f.scale * lupa, benchWidth = clientWidth * scale, benchHeight = clientHeight * scale;
  // Past the room by more than floating point's error.
  const auto overflows = [](double extent, int room) { return extent > room + 1e-6; };
  bool across = overflows(benchWidth, width), down = overflows(benchHeight, height);
  // A scroll bar along one side narrows the room across the other.
  if (down && !across) across = overflows(benchWidth, width - barra);
  if (across && !down) down = overflows(benchHeight, height - barra);
  Ampliada a;
  a.viewportWidth = width - (down ? barra : 0);
  a.viewportHeight = height - (across ? barra : 0);
  a.width = across ? static_cast<int>(std::ceil(benchWidth - 1e-6)) : a.viewportWidth;
  a.height = down ? static_cast<int>(std::ceil(benchHeight - 1e-6)) : a.viewportHeight;
  a.view = {(a.width - benchWidth) / 2, (a.height - benchHeight) / 2, scale};
  return a;
}

// A laid-out rectangle at the view: its corners scaled and rounded to whole pixels of the area.
inline PixelRect place(PixelRect r, Vista v) {
  const auto at = [](double d) { return static_cast<int>(std::lround(d)); };
  const int left = at(v.x + r.left * v.scale), top = at(v.y + r.top * v.scale);
  return {left, top, at(v.x + r.right() * v.scale) - left, at(v.y + r.bottom() * v.scale) - top};
}

}  // namespace corvani::escala
