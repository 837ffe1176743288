// Surrogate series, what a value says against theirs, and coarse-grained
// series: each against what it must keep, computed here independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <numbers>
#include <vector>

#include "base/error.h"
#include "engine/multiscale.h"
#include "engine/random_generator.h"
#include "engine/surrogates.h"

namespace vantel::test {
namespace {

// A correlated series with a skewed distribution: x_t = 0.9 x_{t-1} + noise, squared.
std::vector<double> correlated_series(std::size_t n)
{
    std::vector<double> x(n);
    std::uint32_t state = 12345;
    double level = 0;
    for (double& v : x) {
        state = state * 1103515245u + 12345u;
        level = 0.9 * level + static_cast<double>(state >> 8) / (1 << 24) - 0.5;
        v = level * level;
    }
    return x;
}

// The amplitudes |X_k|, k = 1..n/2, by the plain sum of the transform.
std::vector<double> amplitudes(const std::vector<double>& x)
{
    const std::size_t n = x.size();
    std::vector<double> out;
    for (std::size_t k = 1; k <= n / 2; ++k) {
        std::complex<double> sum = 0;
        for (std::size_t t = 0; t < n; ++t)
            sum += x[t] * std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(k * t % n) /
                                              static_cast<double>(n));
        out.push_back(std::abs(sum));
    }
    return out;
}

// sqrt(sum (|S_k| - |X_k|)^2 / sum |X_k|^2): 0 for the same power spectrum.
double spectrum_distance(const std::vector<double>& series, const std::vector<double>& other)
{
    const std::vector<double> a = amplitudes(series), b = amplitudes(other);
    double difference = 0, total = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        difference += (a[k] - b[k]) * (a[k] - b[k]);
        total += a[k] * a[k];
    }
    return std::sqrt(difference / total);
}

std::vector<double> sorted(std::vector<double> x)
{
    std::sort(x.begin(), x.end());
    return x;
}

TEST(Surrogates, each_kind_and_seed_keeps_what_it_must_and_draws_its_own)
{
    struct Case {
        Surrogate_kind kind;
        std::uint64_t seed;
        double most_spectrum_distance;   // from the series'
        double least_spectrum_distance;
    };
    const Case cases[] = {
        {Surrogate_kind::shuffle, 1, 10, 0.3},
        {Surrogate_kind::shuffle, UINT64_MAX, 10, 0.3},
        {Surrogate_kind::iaaft, 1, 0.05, 0},
        {Surrogate_kind::iaaft, 987654321, 0.05, 0},
    };
    const std::vector<double> x = correlated_series(1024);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(surrogate_kind_name(c.kind)) + " seed " + std::to_string(c.seed));
        const std::vector<double> first = surrogate(x, c.kind, c.seed, 0);
        EXPECT_EQ(first, surrogate(x, c.kind, c.seed, 0));       // the same seed, the same bits
        EXPECT_NE(first, surrogate(x, c.kind, c.seed, 1));       // each index its own
        EXPECT_NE(first, surrogate(x, c.kind, c.seed ^ 1, 0));   // each seed its own
        EXPECT_NE(first, x);
        EXPECT_EQ(sorted(first), sorted(x));                     // exactly the series' values
        const double distance = spectrum_distance(x, first);
        EXPECT_LE(distance, c.most_spectrum_distance);
        EXPECT_GE(distance, c.least_spectrum_distance);
    }
    EXPECT_THROW(surrogate(std::vector<double>{1}, Surrogate_kind::shuffle, 1, 0), Vantel_error);
}

TEST(Surrogates, every_order_of_a_permutation_is_drawn_about_as_often)
{
    // A permutation that never leaves a value in place, or favours low
    // draws, misses orders or makes some twice as likely.
    std::map<std::vector<double>, int> orders;
    Random_generator random(7);
    for (int i = 0; i < 6000; ++i) {
        std::vector<double> v{0, 1, 2};
        random_permutation(v, random);
        ++orders[v];
    }
    ASSERT_EQ(orders.size(), 6u);
    for (const auto& [order, count] : orders) EXPECT_NEAR(count, 1000, 150);
}

TEST(Surrogates, a_summary_gives_the_numbers_worked_out_by_hand)
{
    struct Case {
        double value;
        std::vector<double> surrogates;
        double mean, sd, z_score, p_value;  // NaN: undefined
    };
    const double undefined = std::nan("");
    const Case cases[] = {
        // mean 0.42, sd sqrt((0.0004 + 0 + 0.0004) / 2) = 0.02, none as far as 0.08 from it.
        {0.5, {0.4, 0.42, 0.44}, 0.42, 0.02, 4, 0.25},
        // Below the mean counts as far as above (two-sided).
        {0.34, {0.4, 0.42, 0.44}, 0.42, 0.02, -4, 0.25},
        // At the mean every surrogate is at least as far: p = (1 + 3) / 4.
        {0.42, {0.4, 0.42, 0.44}, 0.42, 0.02, 0, 1},
        // Two of four (0 and 1) as far from 0.5 as 0.95: p = 3 / 5; sd = sqrt(0.52 / 3).
        {0.95, {0, 1, 0.4, 0.6}, 0.5, std::sqrt(0.52 / 3), 0.45 / std::sqrt(0.52 / 3), 0.6},
        // One surrogate has no sd, equal ones a zero sd: no z-score.
        {0.5, {0.3}, 0.3, undefined, undefined, 0.5},
        {0.5, {0.3, 0.3}, 0.3, 0, undefined, 1.0 / 3},
    };
    const auto same = [](double found, double expected) {
        return std::isnan(expected) ? std::isnan(found) : std::abs(found - expected) <= 1e-12;
    };
    for (const Case& c : cases) {
        const Surrogate_summary s = summarize_surrogates(c.value, c.surrogates);
        EXPECT_TRUE(same(s.mean, c.mean) && same(s.sd, c.sd) && same(s.z_score, c.z_score) &&
                    same(s.p_value, c.p_value))
            << c.value << ": " << s.mean << " " << s.sd << " " << s.z_score << " " << s.p_value;
    }
    EXPECT_THROW(summarize_surrogates(0.5, {}), Vantel_error);
}

TEST(Multiscale, a_coarse_series_holds_the_means_of_whole_blocks)
{
    const std::vector<double> x{0.1, 0.7, 0.2, 1e16, 1, -1e16, 3};
    EXPECT_EQ(coarse_grained(x, 1), x);
    // Added left to right: (1e16 + 1) loses the 1, then - 1e16 leaves 0.
    EXPECT_EQ(coarse_grained(x, 2), (std::vector<double>{(0.1 + 0.7) / 2, (0.2 + 1e16) / 2, (1 + -1e16) / 2}));
    EXPECT_EQ(coarse_grained(x, 3), (std::vector<double>{(0.1 + 0.7 + 0.2) / 3, (1e16 + 1 + -1e16) / 3}));
    EXPECT_EQ(coarse_grained(x, 3)[1], 0.0);
    EXPECT_TRUE(coarse_grained(x, 8).empty());

    struct Case {
        std::size_t length;
        long long scale;
        bool usable;
    };
    for (const Case& c : {Case{10, 2, true}, Case{9, 2, false}, Case{19625, 3925, true}, Case{19625, 3926, false},
                          Case{100, 0, false}, Case{5, 1, true}})
        EXPECT_EQ(scale_problem(c.length, c.scale).empty(), c.usable) << c.length << " at " << c.scale;
}

}  // namespace
}  // namespace vantel::test
