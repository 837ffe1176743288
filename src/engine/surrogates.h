// Surrogate series: series made from a series that keep some of its
// properties and destroy the rest. Computed beside the series, their values
// tell what of the series' value comes from what they destroy.
//
//   shuffle  a random permutation of the values: the same values, their
//            order destroyed. A value that differs from its shuffles'
//            differs because of the order of the values alone.
//   iaaft    iterative amplitude-adjusted Fourier transform: the same
//            values and nearly the same power spectrum (the linear
//            correlations), the rest of the order destroyed. It starts from
//            a shuffle, then alternates two steps: give the series' Fourier
//            amplitudes to the current surrogate's transform, keeping its
//            phases; give the series' values to the result by rank (the
//            smallest value to the smallest place, and so on, ties kept in
//            place order). It stops when a step of ranks leaves the order
//            unchanged, or after Iaaft_iterations iterations. The result
//            is always the last rank step's: exactly the series' values.
//
// Surrogate k (from 0) of a seed is drawn with the seed's generator after k
// jumps (engine/random_generator.h), so that it is the same whichever thread
// draws it and whatever the other surrogates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

enum class Surrogate_kind { shuffle, iaaft };

// "shuffle", "iaaft"; false for any other text.
bool parse_surrogate_kind(std::string_view text, Surrogate_kind& kind);
std::string_view surrogate_kind_name(Surrogate_kind kind);

inline constexpr std::uint64_t Default_seed = 1;
// 10000 surrogates of 100 epochs take about 9 hours on two cores; a p-value
// never needs more.
inline constexpr int Max_surrogates = 10'000;
inline constexpr int Iaaft_iterations = 1000;

struct Surrogate_options {
    int count = 0;  // 0: none
    Surrogate_kind kind = Surrogate_kind::shuffle;
    std::uint64_t seed = Default_seed;
};

// The text of what is wrong with a count of surrogates, or empty.
std::string surrogates_problem(long long count);

// Surrogate `index` (from 0) of the series. Throws Vantel_error for a
// series of fewer than 2 values.
std::vector<double> surrogate(std::span<const double> series, Surrogate_kind kind, std::uint64_t seed,
                              std::size_t index);

// The series of run `variant` of a series and its surrogates: 0 the series
// itself, k >= 1 its surrogate k - 1.
std::vector<double> variant_series(std::span<const double> series, const Surrogate_options& options,
                                   std::size_t variant);

// A value against the values of its surrogates.
struct Surrogate_summary {
    double mean = 0;  // of the surrogates' values, added in order, over their count
    // Their standard deviation with count - 1 in the denominator; NaN for
    // one surrogate.
    double sd = 0;
    // (value - mean) / sd: how many standard deviations the value lies from
    // the surrogates'; NaN when sd is 0 or NaN.
    double z_score = 0;
    // Two-sided rank p-value: (1 + the number of surrogates at least as far
    // from their mean as the value) / (count + 1). The smallest it can be is
    // 1 / (count + 1).
    double p_value = 0;
};
// Throws Vantel_error for no surrogate values.
Surrogate_summary summarize_surrogates(double value, std::span<const double> surrogate_values);

}  // namespace vantel
