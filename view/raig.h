// The ray of light: pintaraig turns the bench state into lines on the drawing surface.
#pragma once

#include "model/banc.h"
#include "model/ports.h"

namespace corvani {

// Clears the surface and draws the ray (or its three components) from the lamp, through the
// filter slots, to the eye or down to the paper and up to the eye; leaves in raigR/G/B what
// reached the end of the ray, the line width at 1, and the filter shapes repainted on top.
void pintaraig(Estat& estat, Surface& surface);

// The light that reaches the eye after the last drawing, as its primaries. With a lamp on, the
// surface always shows the drawing of the bench as it stands and raigR/G/B hold what that drawing
// brought to its end (through the filters, and off the paper with the lamp down); with every lamp
// off nothing reaches it, whatever stale channels a clear without a drawing left behind.
struct LlumAlUll {
  bool r = false, g = false, b = false;
  bool components = false;  // the analysis is on: three rays reach the eye, not one
  friend bool operator==(const LlumAlUll&, const LlumAlUll&) = default;
};
LlumAlUll llumAlUll(const Estat& estat);

// Where the ray goes, in drawing units.
namespace geometria {
inline constexpr std::int32_t xLlum = 500, xUll = 12900;
inline constexpr std::array<std::int32_t, 3> xSlot = {3000, 3200, 3400};
inline constexpr std::int32_t yRecte = 3000;
inline constexpr std::array<std::int32_t, 3> ySlotAvall = {4008, 4089, 4169};
inline constexpr Point paper = {6700, 5500};
inline constexpr std::int32_t separacio = 100;           // between component rays, up to slot 2
inline constexpr std::int32_t separacioAlPaper = 248;    // between their points on the paper
}  // namespace geometria

}  // namespace corvani
