#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include "engine/reservoir.h"
#include "support/reservoir_world.h"

namespace vantel::test {
namespace {

std::vector<double> random_series(int n, unsigned seed)
{
    std::mt19937_64 generator(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::vector<double> values(static_cast<std::size_t>(n));
    for (auto& v : values) v = value(generator);
    return values;
}

TEST_F(Reservoir, series_of_six_by_the_four_sample_methods)
{
    set_series({10, 20, 30, 40, 50, 60});

    // Methods 1 and 4 run on across lines: W1[784][1] = 50, W1[0][2] = 60,
    // W1[0][25] = 10 and W1[1][1] = 20 are all in these.
    fill(1);
    for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_column_visit(c), 10.0 * (c % 6 + 1)) << c;

    fill(4);
    for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_row_visit(c), 10.0 * (c % 6 + 1)) << c;

    fill(2);
    for (int j = 1; j <= Neurons; ++j)
        for (int i = 0; i < Rows; ++i) ASSERT_EQ(net.W1[i][j], i < 6 ? 10.0 * (i + 1) : 0.0) << i << "," << j;

    fill(5);
    for (int i = 0; i < Rows; ++i)
        for (int j = 1; j <= Neurons; ++j) ASSERT_EQ(net.W1[i][j], j <= 6 ? 10.0 * j : 0.0) << i << "," << j;
}

TEST_F(Reservoir, truncating_methods_restart_after_a_short_line_or_at_the_last_sample)
{
    set_counting_series(1000);
    fill(2);
    for (int j = 1; j <= Neurons; ++j)
        for (int i = 0; i < Rows; ++i) {
            const double expected = j % 2 == 1 ? i + 1 : (i <= 214 ? 786 + i : 0);
            ASSERT_EQ(net.W1[i][j], expected) << i << "," << j;
        }

    set_counting_series(1570);
    fill(2);
    for (int j = 1; j <= Neurons; ++j)
        for (int i = 0; i < Rows; ++i)
            ASSERT_EQ(net.W1[i][j], j % 2 == 1 ? i + 1 : 786 + i) << i << "," << j;

    set_counting_series(30);
    fill(5);
    for (int i = 0; i < Rows; ++i)
        for (int j = 1; j <= Neurons; ++j) {
            const double expected = i % 2 == 0 ? j : (j <= 5 ? 25 + j : 0);
            ASSERT_EQ(net.W1[i][j], expected) << i << "," << j;
        }

    set_counting_series(50);
    fill(5);
    for (int i = 0; i < Rows; ++i)
        for (int j = 1; j <= Neurons; ++j) ASSERT_EQ(net.W1[i][j], i % 2 == 0 ? j : 25 + j) << i << "," << j;
}

TEST_F(Reservoir, a_series_as_long_as_the_matrix_fills_it_once_by_every_method)
{
    set_series(random_series(Max_N, 7));
    const double* xn = state.series.xn;

    fill(1);
    const auto method_1 = w1();
    for (int i = 0; i < Rows; ++i)
        for (int j = 1; j <= Neurons; ++j) ASSERT_EQ(net.W1[i][j], xn[(j - 1) * 785 + i + 1]);
    fill(2);
    EXPECT_EQ(w1(), method_1);
    // The line through two samples is rebuilt from s and b at a position up
    // to 19625, so the rounding of s and b grows by that factor: samples of
    // up to 1000 agree to about 1e-8.
    const double tolerance = 1e-7;
    fill(3);
    for (int k = 1; k <= Max_N; ++k) ASSERT_EQ(net.Grid_t[k], k);
    const auto method_3 = w1();
    for (std::size_t c = 0; c < method_1.size(); ++c) ASSERT_NEAR(method_3[c], method_1[c], tolerance) << c;

    fill(4);
    const auto method_4 = w1();
    for (int i = 0; i < Rows; ++i)
        for (int j = 1; j <= Neurons; ++j) ASSERT_EQ(net.W1[i][j], xn[i * 25 + j]);
    fill(5);
    EXPECT_EQ(w1(), method_4);
    fill(6);
    const auto method_6 = w1();
    for (std::size_t c = 0; c < method_4.size(); ++c) ASSERT_NEAR(method_6[c], method_4[c], tolerance) << c;
}

TEST_F(Reservoir, stretched_series_of_five_samples)
{
    set_series({0, 4906, 0, 4906, 0});
    // Position p on the scale of the cells: a zigzag through the five samples.
    auto expected = [](int p) {
        if (p <= 4907) return p - 1.0;
        if (p <= 9813) return 9813.0 - p;
        if (p <= 14719) return p - 9813.0;
        return 19625.0 - p;
    };

    fill(3);
    const double grid[] = {1, 4907, 9813, 14719, 19625};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(net.Grid_t[k], grid[k - 1]);
    EXPECT_EQ(net.W1[784][1], 784);
    EXPECT_EQ(net.W1[0][2], 785);
    for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_column_visit(c), expected(c + 1)) << c;

    fill(6);
    EXPECT_EQ(net.W1[1][1], 25);
    EXPECT_EQ(net.W1[784][1], 24);
    for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_row_visit(c), expected(c + 1)) << c;
}

// The fill as written: the segment search scans from k = 1 for every cell.
std::vector<double> stretch_scanning_from_one(const double* xn, int n, std::vector<double>& grid)
{
    grid.assign(static_cast<std::size_t>(n) + 1, 0.0);
    for (int k = 1; k <= n; ++k)
        grid[k] = static_cast<double>(static_cast<long double>(k - 1) / (n - 1) * 19624 + 1);
    std::vector<double> by_position(Cells + 1);
    for (int p = 1; p <= Cells; ++p) {
        int k = 1;
        while (k != n && p > grid[k]) ++k;
        if (k == 1) k = 2;
        const double t_a = grid[k - 1], t_b = grid[k], x_a = xn[k - 1], x_b = xn[k];
        double s = 0;
        if (t_a != t_b) s = static_cast<double>((static_cast<long double>(x_a) - x_b) / (static_cast<long double>(t_a) - t_b));
        const double b = static_cast<double>(x_a - static_cast<long double>(s) * t_a);
        by_position[p] = static_cast<double>(static_cast<long double>(s) * p + b);
    }
    return by_position;
}

TEST_F(Reservoir, stretching_gives_exactly_what_the_scan_from_the_first_sample_gives)
{
    unsigned seed = 1;
    for (int n : {5, 6, 7, 100, 785, 786, 1000, 4907, 19624, 19625}) {
        set_series(random_series(n, seed++));
        std::vector<double> grid;
        const auto expected = stretch_scanning_from_one(state.series.xn, n, grid);

        fill(3);
        for (int k = 1; k <= n; ++k) ASSERT_EQ(net.Grid_t[k], grid[k]) << "N=" << n << " k=" << k;
        for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_column_visit(c), expected[c + 1]) << "N=" << n << " c=" << c;
        EXPECT_NEAR(by_column_visit(0), state.series.xn[1], 1e-9);
        EXPECT_NEAR(by_column_visit(Cells - 1), state.series.xn[n], 1e-9);

        fill(6);
        for (int c = 0; c < Cells; ++c) ASSERT_EQ(by_row_visit(c), expected[c + 1]) << "N=" << n << " c=" << c;
    }
}

TEST(Segment_search, carried_over_rising_positions_it_matches_the_scan_from_one)
{
    std::mt19937 generator(11);
    for (int round = 0; round < 200; ++round) {
        const int n = std::uniform_int_distribution<int>(2, 60)(generator);
        // Uneven grids, repeated points included, over positions 1..100.
        std::vector<double> grid(static_cast<std::size_t>(n) + 1);
        std::uniform_real_distribution<double> point(0.0, 110.0);
        for (int k = 1; k <= n; ++k) grid[k] = std::round(point(generator) * 2) / 2;
        std::sort(grid.begin() + 1, grid.end());
        int carried = 1;
        for (int p = 1; p <= 100; ++p) {
            int scanned = 1;
            while (scanned != n && p > grid[scanned]) ++scanned;
            carried = find_segment(grid.data(), n, p, carried);
            ASSERT_EQ(carried, scanned) << "round " << round << " p=" << p;
        }
    }
}

TEST_F(Reservoir, a_truncating_fill_without_step_3_keeps_the_earlier_cells)
{
    set_counting_series(1000);
    fill(1);
    program.window.select_method(2);
    program.click(Control::Button_Step_4);
    for (int j = 1; j <= Neurons; ++j)
        for (int i = 0; i < Rows; ++i) {
            const int c = (j - 1) * 785 + i;
            const double expected = j % 2 == 1 ? i + 1 : (i <= 214 ? 786 + i : c % 1000 + 1);
            ASSERT_EQ(net.W1[i][j], expected) << i << "," << j;
        }
}

TEST_F(Reservoir, large_values_within_range_fill_without_error_whatever_flags_were_raised_before)
{
    set_series({1e308, 1e308, 1e308, 1e308, 1e308, 9e307});
    std::feraiseexcept(FE_OVERFLOW);
    fill(3);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(by_column_visit(0), 1e308);
    EXPECT_NEAR(by_column_visit(Cells - 1) / 9e307, 1.0, 1e-12);
}

}  // namespace
}  // namespace vantel::test
