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

TEST(Rescaling, a_constant_series_is_refused_by_both)
{
    const std::vector<double> constant(7, 4.25);
    for (const Rescale r : {Rescale::minmax, Rescale::zscore}) {
        EXPECT_THROW(rescaled(constant, r), Vantel_error) << rescale_name(r);
        // Three times 0.1 sums to a mean just off 0.1: still constant.
        EXPECT_THROW(rescaled(std::vector<double>(3, 0.1), r), Vantel_error) << rescale_name(r);
        EXPECT_THROW(rescaled(std::vector<double>{-1.7e308, 1.7e308}, r), Vantel_error) << rescale_name(r);
    }
    EXPECT_EQ(rescaled(constant, Rescale::none), constant);
    Rescale parsed = Rescale::none;
    EXPECT_TRUE(parse_rescale("zscore", parsed));
    EXPECT_EQ(parsed, Rescale::zscore);
    EXPECT_FALSE(parse_rescale("ZScore", parsed));
}

}  // namespace
}  // namespace vantel::test
