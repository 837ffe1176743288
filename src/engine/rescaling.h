// Optional rescaling of a series before it fills W1. The value depends on
// the series' scale and offset, because the series becomes the weights
// themselves; rescaling makes series of different units comparable.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace vantel {

enum class Rescale {
    none,    // the values as they are: the value the window gives
    minmax,  // (x - min) / (max - min): the values used span [0, 1]
    zscore,  // (x - mean) / sd, sd the population standard deviation
};

// "none", "minmax", "zscore"; nothing for any other text.
bool parse_rescale(std::string_view text, Rescale& rescale);
std::string_view rescale_name(Rescale rescale);

// The series rescaled, each value computed in double arithmetic:
//   minmax: min and max of the values; each value (x - min) / (max - min).
//   zscore: mean = (x1 + x2 + ... + xn) / n, summed in order; sd =
//           sqrt(((x1 - mean)^2 + ... + (xn - mean)^2) / n), summed in
//           order; each value (x - mean) / sd. Where those sums would
//           overflow, or the squares fall below the normal range, the
//           values are first multiplied by a power of two that brings the
//           largest magnitude near 1 (exact), and the formula is applied
//           to them.
// Throws Vantel_error for a constant series (max = min, or sd = 0), which
// cannot be rescaled, and for a value that is not finite.
std::vector<double> rescaled(std::span<const double> series, Rescale rescale);

}  // namespace vantel
