// The comparisons of fast_sigmoid_test.cpp with 60 times the samples (about
// 140 million inputs) and new seeds, and expl's error assumption checked on
// 4 million more arguments.
#include <cstdio>

#include <gtest/gtest.h>

#include "sigmoid_accuracy.h"
#include "sigmoid_comparison.h"

namespace vantel::test {
namespace {

constexpr long Scale = 60;

TEST(Fast_sigmoid_long, same_bits_and_overflow_flag_as_the_literal_sigmoid_in_every_range)
{
    std::uint64_t seed = 1000;
    for (const Sample_family& family : sample_families()) {
        SCOPED_TRACE(family.name);
        const Comparison c = compare_family(family, family.count * Scale, seed++);
        EXPECT_EQ(c.different, 0) << "first at x = " << c.first_difference;
        EXPECT_EQ(c.fast_raised_overflow, 0);
        EXPECT_GE(c.served_fast, family.least_fast_share * c.samples);
        EXPECT_EQ(c.ties_served_fast, 0);
        std::printf("%-56s %10ld samples, %6.3f %% to expl, %6ld ties\n", family.name.c_str(), c.samples,
                    100.0 * (c.samples - c.served_fast) / c.samples, c.ties);
    }
}

TEST(Fast_sigmoid_long, expl_and_the_fast_exponential_stay_within_the_derived_bound)
{
    const Accuracy a = measure_accuracy(4'000'000, 2000);
    ASSERT_GT(a.samples, 3'600'000);
    EXPECT_LE(a.expl, Assumed_expl_error) << "expl's error assumption fails at y = " << a.expl_at;
    EXPECT_LE(a.exp_minus, Derived_exp_minus_error);
    EXPECT_LE(a.literal_unrounded, Assumed_expl_error + 2.001);
    EXPECT_LE(a.fast_unrounded, Derived_exp_minus_error + 2.001);
    std::printf("largest errors in u = 2^-64 over %ld inputs: expl %.4f (at y = %a), fast e^-x %.4f, "
                "unrounded literal sigmoid %.4f, unrounded fast sigmoid %.4f\n",
                a.samples, a.expl, a.expl_at, a.exp_minus, a.literal_unrounded, a.fast_unrounded);
}

}  // namespace
}  // namespace vantel::test
