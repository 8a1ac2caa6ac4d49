// The pictures compiled into the program, by name.
#pragma once

#include <QPixmap>

#include "model/layout.h"

namespace corvani {
QPixmap pixmapOf(Picture picture);
}  // namespace corvani
