// Multiscale values: a series coarse-grained at scale s is the series of the
// means of its consecutive, non-overlapping blocks of s values. Its value
// shows what the network learns from the series' structure at that time
// scale.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace vantel {

// Scales above this leave fewer than 5 values of the longest series.
inline constexpr int Max_scale = 19625 / 5;

// The means of the blocks of `scale` values: each block's values added left
// to right in double, then divided by `scale`; a last incomplete block is
// dropped. Scale 1 gives the series itself, bit for bit.
std::vector<double> coarse_grained(std::span<const double> series, int scale);

// What is wrong with computing a series of `length` values at `scale`: a
// scale below 1, or a coarse series of fewer than 5 values; empty when it
// can be computed.
std::string scale_problem(std::size_t length, long long scale);

}  // namespace vantel
