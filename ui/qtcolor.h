// Packed colours as Qt colours.
#pragma once

#include <QColor>

#include "model/color.h"

namespace corvani {
inline QColor toQColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
inline Color fromQColor(const QColor& c) { return packColor(c.red(), c.green(), c.blue()); }
}  // namespace corvani
