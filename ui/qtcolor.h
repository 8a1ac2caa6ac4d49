// Packed colours as Qt colours.
#pragma once

#include <QColor>

#include "model/color.h"

namespace corvani {
inline QColor toQColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
}  // namespace corvani
