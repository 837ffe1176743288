#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include "engine/reservoir.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

constexpr int Rows = Last_input + 1;
constexpr int Cells = Rows * Neurons;

struct Reservoir : ::testing::Test {
    Test_program program;
    Program_state& state = *program.state;
    Vedero_network& net = program.state->net;

    void set_series(const std::vector<double>& values)
    {
        std::fill(std::begin(state.series.xn), std::end(state.series.xn), 0.0);
        state.series.N = static_cast<int>(values.size());
        for (std::size_t k = 0; k < values.size(); ++k) state.series.xn[k + 1] = values[k];
    }
    // xn[k] = k, so that every cell tells which sample it got.
    void set_counting_series(int n)
    {
        std::vector<double> values(static_cast<std::size_t>(n));
        std::iota(values.begin(), values.end(), 1.0);
        set_series(values);
    }
    void fill(int method)
    {
        program.click(Control::Button_Step_3);
        program.window.select_method(method);
        program.click(Control::Button_Step_4);
    }
    std::vector<double> w1() const
    {
        std::vector<double> copy;
        for (int i = 0; i < Rows; ++i)
            for (int j = 1; j <= Neurons; ++j) copy.push_back(net.W1[i][j]);
        return copy;
    }
    double& by_column_visit(int c) { return net.W1[c % Rows][c / Rows + 1]; }
    double& by_row_visit(int c) { return net.W1[c / Neurons][c % Neurons + 1]; }
};

std::vector<double> random_series(int n, unsigned seed)
{
    std::mt19937_64 generator(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::vector<double> values(static_cast<std::size_t>(n));
    for (auto& v : values) v = value(generator);
    return values;
}

TEST_F(Reservoir, step_3_resets_every_vector_and_sets_w2_to_one_half)
{
    net.Y[0] = net.Sh[0] = net.Y[784] = net.Sh[25] = net.Sout[9] = net.Delta_out[0] = 3.0;
    net.W1[0][1] = net.W1[784][25] = net.W2[25][9] = net.dW2[3][4] = 7.0;

    program.click(Control::Button_Step_3);

    auto all_zero = [](const auto& values) {
        return std::all_of(std::begin(values), std::end(values), [](double v) { return v == 0.0; });
    };
    EXPECT_TRUE(all_zero(net.Y) && all_zero(net.Sh) && all_zero(net.Sout) && all_zero(net.Delta_out));
    EXPECT_TRUE(std::all_of(std::begin(net.W1), std::end(net.W1), all_zero));
    EXPECT_TRUE(std::all_of(std::begin(net.dW2), std::end(net.dW2), all_zero));
    EXPECT_EQ(std::count(&net.W2[0][0], &net.W2[0][0] + 260, 0.5), 260);
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_3));
    EXPECT_EQ(program.window.sleeps, 1);
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

TEST_F(Reservoir, no_method_selected_leaves_w1_and_the_grid_untouched)
{
    set_counting_series(100);
    fill(6);
    const auto before = w1();
    const double grid_100 = net.Grid_t[100];
    net.Grid_t[101] = 5.5;

    program.window.select_method(0);
    program.click(Control::Button_Step_4);
    EXPECT_EQ(w1(), before);
    EXPECT_EQ(net.Grid_t[100], grid_100);
    EXPECT_EQ(net.Grid_t[101], 5.5);
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_4));
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

TEST_F(Reservoir, step_4_before_any_extraction_says_so_and_changes_nothing)
{
    for (int n : {0, 4}) {
        state.series.N = n;
        net.W1[0][1] = 3.0;
        net.W1[784][25] = -3.0;
        for (int method = 1; method <= 6; ++method) {
            program.window.select_method(method);
            program.window.expect_message("Please extract a series first (Show or Step 1).");
            program.click(Control::Button_Step_4);
            EXPECT_EQ(net.W1[0][1], 3.0);
            EXPECT_EQ(net.W1[784][25], -3.0);
            EXPECT_EQ(net.W1[1][1], 0.0);
            EXPECT_TRUE(program.window.enabled(Control::Button_Step_4));
        }
    }
    EXPECT_EQ(program.window.messages.size(), 12u);
    EXPECT_TRUE(program.window.errors.empty());
}

TEST_F(Reservoir, a_line_beyond_the_double_range_is_an_overflow_and_w1_holds_no_infinity)
{
    // Slope -2 x DBL_MAX on the very first cell.
    std::vector<double> values(Max_N, 0.0);
    values[0] = std::numeric_limits<double>::max();
    values[1] = -values[0];
    set_series(values);
    program.click(Control::Button_Step_3);
    net.W1[0][1] = 42.0;
    program.window.select_method(3);
    program.click(Control::Button_Step_4);
    ASSERT_EQ(program.window.errors, std::vector<std::string>{"Floating point overflow."});
    EXPECT_EQ(net.W1[0][1], 42.0);
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_4));

    // Slopes of +-1e305 are doubles, but b = x_a - s x t_a leaves the range
    // once t_a passes about 1798: the fill ends at that cell.
    for (int k = 0; k < Max_N; ++k) values[static_cast<std::size_t>(k)] = k % 2 ? 1e305 : 0.0;
    set_series(values);
    program.click(Control::Button_Step_3);
    program.window.select_method(6);
    program.click(Control::Button_Step_4);
    ASSERT_EQ(program.window.errors.size(), 2u);
    EXPECT_EQ(program.window.errors[1], "Floating point overflow.");
    EXPECT_NEAR(by_row_visit(999) / 1e305, 1.0, 1e-9);
    EXPECT_EQ(by_row_visit(5000), 0.0);
    for (int c = 0; c < Cells; ++c) ASSERT_TRUE(std::isfinite(by_row_visit(c))) << c;
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_4));
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
