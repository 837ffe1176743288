// Rescaling a series: minmax and zscore against values worked out by hand,
// and the constant series that neither can rescale.
#include <gtest/gtest.h>

#include <cmath>

#include "base/error.h"
#include "engine/rescaling.h"

namespace vantel::test {
namespace {

TEST(Rescaling, minmax_and_zscore_give_the_values_worked_out_by_hand)
{
    // minmax of 2, 4, 10, 6: min 2, range 8 -> 0, 0.25, 1, 0.5.
    EXPECT_EQ(rescaled(std::vector<double>{2, 4, 10, 6}, Rescale::minmax), (std::vector<double>{0, 0.25, 1, 0.5}));
    // zscore of 2, 4, 4, 4, 5, 5, 7, 9: mean 5, squares 9+1+1+1+0+0+4+16 = 32,
    // sd = sqrt(32 / 8) = 2 -> -1.5, -0.5, -0.5, -0.5, 0, 0, 1, 2.
    EXPECT_EQ(rescaled(std::vector<double>{2, 4, 4, 4, 5, 5, 7, 9}, Rescale::zscore),
              (std::vector<double>{-1.5, -0.5, -0.5, -0.5, 0, 0, 1, 2}));
    // Negative values and an uneven range: -3, 1, 5 -> 0, 0.5, 1.
    EXPECT_EQ(rescaled(std::vector<double>{-3, 1, 5}, Rescale::minmax), (std::vector<double>{0, 0.5, 1}));
    // none leaves every bit alone.
    const std::vector<double> raw{-0.0, 1e-310, 3.5};
    const std::vector<double> kept = rescaled(raw, Rescale::none);
    EXPECT_TRUE(std::signbit(kept[0]));
    EXPECT_EQ(kept[1], 1e-310);
}

TEST(Rescaling, zscore_at_the_ends_of_the_double_range_equals_zscore_of_the_same_series_near_1)
{
    // Scaling by a power of two changes no standardized value: values near
    // 1e300 (whose squares overflow) and subnormal ones (whose squares are
    // 0) give what their images near 1 give.
    const std::vector<double> near_one{0.75, 1.5, 1.0, 0.5, 1.25};
    for (const int exponent : {1000, 996, -1060, -1000}) {
        std::vector<double> far;
        for (const double x : near_one) far.push_back(std::ldexp(x, exponent));
        EXPECT_EQ(rescaled(far, Rescale::zscore), rescaled(near_one, Rescale::zscore)) << "2^" << exponent;
    }
}

TEST(Rescaling, a_constant_series_is_refused_by_both)
{
    const std::vector<double> constant(7, 4.25);
    for (const Rescale r : {Rescale::minmax, Rescale::zscore}) {
        EXPECT_THROW(rescaled(constant, r), Vantel_error) << rescale_name(r);
        // Three times 0.1 sums to a mean just off 0.1: still constant.
        EXPECT_THROW(rescaled(std::vector<double>(3, 0.1), r), Vantel_error) << rescale_name(r);
    }
    // Values farther apart than the double range: no range, but a deviation.
    EXPECT_THROW(rescaled(std::vector<double>{-1.7e308, 1.7e308}, Rescale::minmax), Vantel_error);
    EXPECT_EQ(rescaled(std::vector<double>{-1.7e308, 1.7e308}, Rescale::zscore), (std::vector<double>{-1, 1}));
    for (const auto& [value, shown] : {std::pair{1e-7, "1E-7"}, {1.23456789e20, "1.23456789E20"}, {-2.5, "-2.5"}}) {
        try {
            rescaled(std::vector<double>(5, value), Rescale::zscore);
            ADD_FAILURE() << shown;
        } catch (const Vantel_error& error) {
            EXPECT_TRUE(std::string(error.what()).ends_with(std::string("every value is ") + shown)) << error.what();
        }
    }
    EXPECT_EQ(rescaled(constant, Rescale::none), constant);
    Rescale parsed = Rescale::none;
    EXPECT_TRUE(parse_rescale("zscore", parsed));
    EXPECT_EQ(parsed, Rescale::zscore);
    EXPECT_FALSE(parse_rescale("ZScore", parsed));
}

}  // namespace
}  // namespace vantel::test
