// What the bench needs from the outside world: a drawing surface and modal message boxes.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/color.h"
#include "model/controls.h"

namespace corvani {

// A point in drawing units: 13000 across and 9000 down the client area, y growing downwards.
struct Point {
  std::int32_t x = 0, y = 0;
  friend bool operator==(Point, Point) = default;
};

class Surface {
public:
  virtual ~Surface() = default;
  virtual void clear() = 0;  // erases every line drawn so far; controls and shapes stay
  virtual void setLineWidth(int pixels) = 0;
  virtual void line(Point from, Point to, Color color) = 0;
  virtual void repaintShape(Ctl shape) = 0;  // paints the shape at once, over the lines drawn so far
};

class Dialogs {
public:
  virtual ~Dialogs() = default;
  // Shows a modal box with the text and one button; returns when the user has closed it.
  virtual void message(std::string_view text) = 0;
};

}  // namespace corvani
