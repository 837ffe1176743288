// Steps 5, 7 and 8 in the window: the step protocol, the time label, and an
// overflow that ends a step with its button enabled and the network as the
// literal steps leave it.
#include <cmath>

#include <gtest/gtest.h>

#include "support/literal_engine.h"
#include "support/synthetic_engine.h"

namespace vantel::test {
namespace {

constexpr int Count = Small_counts.train;

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
