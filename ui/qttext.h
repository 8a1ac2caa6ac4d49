// The bench's texts and control names as Qt strings.
#pragma once

#include <QString>
#include <string_view>

#include "model/layout.h"

namespace corvani {

inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The name the program gives a control, with its index for members of a control array: "cmdLlum(0)".
inline QString controlName(Ctl c) {
  const ControlLayout& row = layoutOf(c);
  return qs(row.name) + (row.index >= 0 ? QStringLiteral("(%1)").arg(row.index) : QString());
}

}  // namespace corvani
