// Steps 3, 4, 5, 7 and 8 in the window: the step protocol, the time label,
// the messages, and an overflow that ends a step with its button enabled and
// the network as the literal steps leave it.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/literal_engine.h"
#include "support/reservoir_world.h"
#include "support/synthetic_engine.h"

namespace vantel::test {
namespace {

constexpr int Count = Small_counts.train;

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

TEST(Normalization, step_5_follows_the_step_protocol_and_ignores_stop)
{
    Small_world world(11);
    world.state.run.Stop_requested = true;
    auto literal = world.copy();
    world.session.timings.step_pause_ms = 500;
    world.session.trigger(Control::Button_Step_5);
    literal_step_5(*literal, Small_counts);
    expect_same_network(*literal, world.state, "with STOP set");
    EXPECT_EQ(world.window.slept_ms, 500);
    EXPECT_EQ(world.window.pumps, 0);
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_5));
    EXPECT_TRUE(world.state.run.Stop_requested);
}

TEST(Normalization, overflow_ends_the_step_with_its_button_enabled)
{
    Small_world world(12);
    for (int i = 0; i <= Last_input; ++i) world.state.net.W1[i][20] = 1.5e308;
    auto literal = world.copy();
    world.session.click(Control::Button_Step_5);
    ASSERT_EQ(world.window.errors.size(), 1u);
    EXPECT_EQ(world.window.errors[0], "Floating point overflow.");
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_5));

    // The state is what the literal steps leave at the same image.
    EXPECT_THROW(literal_step_5(*literal, Small_counts), Vantel_error);
    expect_same_network(*literal, world.state, "overflow in step 5");
    EXPECT_TRUE(std::isinf(world.state.net.Sh_max[20]));
}

TEST(Training, time_label_waits_for_more_than_one_second)
{
    Trained_world world;
    world.state.run.Epochs = 2;
    const double one = world.state.run.One_second;
    // Exactly one second after the start is not more than one second.
    world.session.now = [&] { return world.clock_reads++ == 0 ? 0.0 : one; };
    world.session.trigger(Control::Button_Step_7);
    EXPECT_EQ(world.window.pumps, 2);
    EXPECT_EQ(world.window.text(Control::Label_Time), "Time passed [s]=");
    EXPECT_EQ(world.clock_reads, 1 + 2 * Count);

    // A clock that moves on at every reading refreshes the label and pumps
    // at every second image: the reading after a pump restarts the wait.
    world.clock_reads = 0;
    world.window.pumps = 0;
    world.state.run.Epochs = 1;
    world.session.now = [&] { return world.clock_reads++ * 0.6 * one; };
    world.session.trigger(Control::Button_Step_7);
    EXPECT_EQ(world.window.pumps, 1 + Count / 2);
    EXPECT_EQ(world.clock_reads, 1 + Count + Count / 2);
}

TEST(Training, overflow_in_the_sigmoid_ends_steps_7_and_8_with_their_buttons_enabled)
{
    Trained_world world;
    for (int o = 0; o < Outputs; ++o) world.state.net.W2[0][o] = -1e6;
    for (int h = 1; h <= Neurons; ++h)
        for (int o = 0; o < Outputs; ++o) world.state.net.W2[h][o] = 0.0;
    auto literal = world.copy();

    world.session.click(Control::Button_Step_7);
    ASSERT_EQ(world.window.errors.size(), 1u);
    EXPECT_EQ(world.window.errors[0], "Floating point overflow.");
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_7));
    EXPECT_THROW(literal_step_7(*literal, 1, {}, Small_counts), Vantel_error);
    expect_same_network(*literal, world.state, "overflow in step 7");
    EXPECT_EQ(world.state.net.Sout[4], 0.0);

    world.session.click(Control::Button_Step_8);
    ASSERT_EQ(world.window.errors.size(), 2u);
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_8));
    EXPECT_THROW(literal_step_8(*literal, Small_counts), Vantel_error);
    expect_same_network(*literal, world.state, "overflow in step 8");
    EXPECT_EQ(world.state.run.Tested_count, 1);
}

}  // namespace
}  // namespace vantel::test
