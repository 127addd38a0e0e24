#pragma once
// Rounding shared by the sliders: to the nearest integer with halves going to the even neighbour, so a
// pointer exactly between two values always lands on the same one.

#include <cmath>
#include <cstdint>

namespace lumora {

// Relies on the default floating-point rounding mode (to nearest, ties to even), which Lumora never changes.
inline int64_t roundHalfEven(double x) { return static_cast<int64_t>(std::nearbyint(x)); }

}  // namespace lumora
