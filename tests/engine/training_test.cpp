// Steps 7 and 8 against the literal engine: whole epochs, STOP at the
// pumps, changes made by handlers inside a pump, overflow, prediction ties
// and thread counts.
#include <omp.h>

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "engine/input_vector.h"
#include "engine/datasets.h"
#include "engine/extended_arithmetic.h"
#include "engine/training.h"
#include "support/literal_engine.h"
#include "support/synthetic_engine.h"

namespace vantel::test {
namespace {

constexpr int Count = Small_counts.train;

// Training moved W2: every cell left its starting 0.5 except the rows of
// hidden entries that are 0 for every image (the edge W1 has three: the
// all-zero column and the two constant ones that normalize to their mean).
bool W2_trained(const Program_state& state)
{
    int moved = 0;
    for (const auto& row : state.net.W2)
        for (double w : row) moved += w != 0.5;
    return moved >= 230;
}

class Training_against_literal : public ::testing::TestWithParam<int> {};

TEST_P(Training_against_literal, two_epochs_and_the_test_are_bit_identical)
{
    const int seed = GetParam();
    Trained_world world(seed);
    if (seed % 2 == 0) {
        fill_edge_W1(world.state, seed);
        world.session.trigger(Control::Button_Step_5);
    }
    auto literal = world.copy();
    const std::string what = "seed " + std::to_string(seed);

    world.session.trigger(Control::Button_Step_7);
    literal_step_7(*literal, 1, {}, Small_counts);
    expect_same_network(*literal, world.state, what + ", epoch 1");
    EXPECT_TRUE(W2_trained(world.state));
    EXPECT_EQ(world.window.text(Control::Label_epoch), "Current epoch =1");

    // A second step 7 continues from the trained W2.
    world.state.run.Epochs = 2;
    world.session.trigger(Control::Button_Step_7);
    literal_step_7(*literal, 2, {}, Small_counts);
    expect_same_network(*literal, world.state, what + ", two more epochs");
    EXPECT_EQ(world.window.text(Control::Label_epoch), "Current epoch =2");
    EXPECT_EQ(world.window.pumps, 3) << "one pump per epoch start, the clock standing still";

    world.state.run.Stop_requested = true;  // step 8 does not look at it
    world.session.trigger(Control::Button_Step_8);
    literal_step_8(*literal, Small_counts);
    expect_same_network(*literal, world.state, what + ", step 8");
    EXPECT_EQ(world.state.run.Tested_count, Small_counts.test);
    EXPECT_GT(world.state.run.Correct_count, 0);
    EXPECT_LT(world.state.run.Correct_count, Small_counts.test);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Training_against_literal, ::testing::Values(21, 22));

TEST(Training, stop_already_set_makes_exactly_one_update)
{
    Trained_world world;
    world.state.run.Epochs = 5;
    world.state.run.Stop_requested = true;
    auto literal = world.copy();
    world.session.trigger(Control::Button_Step_7);

    // The literal loop with STOP set trains image 1 and leaves.
    literal_step_7(*literal, 5, {}, Small_counts);
    expect_same_network(*literal, world.state, "STOP before step 7");
    EXPECT_TRUE(W2_trained(world.state));
    EXPECT_EQ(world.state.run.Current_epoch, 1);
    EXPECT_EQ(world.window.text(Control::Label_epoch), "Current epoch =1");
    EXPECT_EQ(world.window.pumps, 1);
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_7));

    // One update is not two: image 2 changes W2 again.
    auto two = world.copy();
    reset_output_layer(*two);
    literal_step_7(*two, 1, [](Program_state& s, int, int k) { s.run.Stop_requested = k >= 2; }, Small_counts);
    EXPECT_NE(first_difference(&two->net.W2[0][0], &world.state.net.W2[0][0], 260), -1);
}

TEST(Training, stop_handled_at_the_pump_of_image_k_keeps_images_1_to_k)
{
    // Epochs = 0 trains until STOP, here in epoch 2.
    Trained_world world;
    world.state.run.Epochs = 0;
    world.jump_clock_at(2, 700);
    auto literal = world.copy();
    // Pumps: epoch 1 start, epoch 2 start, then the time label at image 700.
    world.window.on_pump(3, [&] { world.state.run.Stop_requested = true; });
    world.session.trigger(Control::Button_Step_7);

    literal_step_7(*literal, 0, [](Program_state& s, int epoch, int k) {
        if (epoch == 2 && k == 700) s.run.Stop_requested = true;
    }, Small_counts);
    expect_same_network(*literal, world.state, "STOP at image 700 of epoch 2");
    EXPECT_EQ(world.window.pumps, 3);
    EXPECT_EQ(world.state.run.Current_epoch, 2);
    EXPECT_EQ(world.window.text(Control::Label_Time), "Time passed [s]=10");
    EXPECT_EQ(world.state.run.Last_time_update, 10 * world.state.run.One_second);
}

TEST(Training, changes_made_inside_a_pump_reach_the_next_image)
{
    // A new W1 cell, then step 5 run inside the same pump, then W2 reset as
    // step 3 would: every image after the pump must see all three.
    Trained_world world(31);
    world.state.run.Epochs = 2;
    world.jump_clock_at(1, 900);
    auto literal = world.copy();
    const auto change_W1 = [](Program_state& s) {
        for (int i = 0; i <= Last_input; i += 3) s.net.W1[i][8] = -s.net.W1[i][8] + 0.25;
    };
    world.window.on_pump(2, [&] { change_W1(world.state); });
    world.session.trigger(Control::Button_Step_7);
    literal_step_7(*literal, 2, [&](Program_state& s, int epoch, int k) {
        if (epoch == 1 && k == 900) change_W1(s);
    }, Small_counts);
    expect_same_network(*literal, world.state, "W1 changed at image 900");

    Trained_world nested(32);
    nested.jump_clock_at(1, 400);
    auto nested_literal = nested.copy();
    nested.window.on_pump(2, [&] {
        change_W1(nested.state);
        nested.session.trigger(Control::Button_Step_5);
        reset_output_layer(nested.state);
    });
    nested.session.trigger(Control::Button_Step_7);
    literal_step_7(*nested_literal, 1, [&](Program_state& s, int epoch, int k) {
        if (epoch != 1 || k != 400) return;
        change_W1(s);
        literal_step_5(s, Small_counts);
        reset_output_layer(s);
    }, Small_counts);
    expect_same_network(*nested_literal, nested.state, "step 5 and a W2 reset at image 400");
}

TEST(Training, prediction_ties)
{
    double equal[Outputs];
    std::fill(equal, equal + Outputs, 0.25);
    EXPECT_EQ(predicted_digit(equal), 1);

    double zero_and_three[Outputs] = {0.9, 0.2, 0.1, 0.9, 0.3, 0.1, 0.1, 0.1, 0.1, 0.1};
    EXPECT_EQ(predicted_digit(zero_and_three), 0);
    zero_and_three[1] = 0.9;
    EXPECT_EQ(predicted_digit(zero_and_three), 1);

    double last[Outputs] = {0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.5};
    EXPECT_EQ(predicted_digit(last), 9);
}

TEST(Training, step_8_right_after_step_3_predicts_1_for_every_image)
{
    Trained_world world;
    world.session.trigger(Control::Button_Step_3);
    world.session.trigger(Control::Button_Step_8);
    int ones = 0;
    for (int k = 1; k <= Small_counts.test; ++k) ones += world.state.datasets.Test_labels[k] == 1;
    ASSERT_GT(ones, 0);
    EXPECT_EQ(world.state.run.Correct_count, ones);
    EXPECT_EQ(world.state.run.Accuracy,
              static_cast<double>(static_cast<long double>(ones) / Small_counts.test * 100));
    EXPECT_TRUE(world.window.enabled(Control::Button_Step_8));
}

TEST(Training, overflow_in_one_half_of_the_outputs_stops_both_halves_at_that_image)
{
    // Output 7 saturates towards 1 on images where hidden neuron 3 has the
    // sign it has on image 1, and overflows on the first image of the other
    // sign, while outputs 0..6 train on.
    Trained_world world(51);
    auto probe = world.copy();
    build_input_vector(probe->datasets, probe->datasets.Train_images[1], probe->net.Y);
    literal_forward(*probe);
    for (int h = 0; h <= Neurons; ++h) world.state.net.W2[h][7] = 0.0;
    world.state.net.W2[3][7] = probe->net.Sh[3] > 0 ? 1e6 : -1e6;
    auto literal = world.copy();

    world.session.click(Control::Button_Step_7);
    ASSERT_EQ(world.window.errors.size(), 1u);
    EXPECT_THROW(literal_step_7(*literal, 1, {}, Small_counts), Vantel_error);
    expect_same_network(*literal, world.state, "overflow of output 7");
    EXPECT_EQ(world.state.net.Sout[7], 0.0);
    // Not image 1: the halves ran side by side for a while first.
    EXPECT_NE(first_difference(probe->net.Y, world.state.net.Y, Last_input + 1), -1);
    EXPECT_NE(world.state.net.W2[5][2], 0.5) << "the other outputs trained up to that image";
}

// Training as the computation API drives it: no pauses, and with one thread
// all ten outputs of an image side by side.
struct Free_pace : Training_pace {
    bool stop = false;
    bool pause_due() override { return false; }
    bool stop_requested() override { return stop; }
};

TEST(Training, training_without_pauses_gives_the_literal_results_with_one_thread_or_two)
{
    struct Case {
        const char* what;
        unsigned seed;
        bool edge_W1;
        int overflow_output;  // -1: none
        bool stop_at_once;
        int threads;
        bool bounds_too_close;  // neuron 1's normalization overflows, as after step 4 without step 5
    };
    const Case cases[] = {
        {"random W1, two threads", 21, false, -1, false, 2, false},
        {"edge W1, one thread", 22, true, -1, false, 1, false},
        {"overflow of output 7, two threads", 51, false, 7, false, 2, false},
        {"overflow of output 7, one thread", 51, false, 7, false, 1, false},
        {"overflow of output 2 (the other half), two threads", 52, false, 2, false, 2, false},
        {"overflow of output 2, one thread", 52, false, 2, false, 1, false},
        {"stop before the first image, two threads", 21, false, -1, true, 2, false},
        {"hidden vector overflowing, one thread", 21, false, -1, false, 1, true},
        {"hidden vector overflowing, two threads", 21, false, -1, false, 2, true},
    };
    const int threads = omp_get_max_threads();
    for (const Case& c : cases) {
        omp_set_num_threads(c.threads);
        Trained_world world(c.seed);
        if (c.edge_W1) {
            fill_edge_W1(world.state, c.seed);
            world.session.trigger(Control::Button_Step_5);
        }
        const int o = c.overflow_output;
        if (o >= 0) {
            auto probe = world.copy();
            build_input_vector(probe->datasets, probe->datasets.Train_images[1], probe->net.Y);
            literal_forward(*probe);
            for (int h = 0; h <= Neurons; ++h) world.state.net.W2[h][o] = 0.0;
            world.state.net.W2[3][o] = probe->net.Sh[3] > 0 ? 1e6 : -1e6;
        }
        if (c.bounds_too_close) {
            world.state.net.Sh_min[1] = 0.0;
            world.state.net.Sh_max[1] = std::numeric_limits<double>::denorm_min();
        }
        const bool overflows = o >= 0 || c.bounds_too_close;
        world.state.run.Learning_rate = Training_rate;
        auto literal = world.copy();
        literal->run.Stop_requested = c.stop_at_once;

        Free_pace pace;
        pace.stop = c.stop_at_once;
        Output_trainer trainer(engine_workspace(world.session), world.state.net, world.state.run,
                               world.session.datasets());
        bool overflowed = false;
        try {
            for (int k = 1; k != 0;) k = trainer.train_from(k, pace);
            trainer.store();
        } catch (const Overflow_error&) {
            overflowed = true;
        }
        bool literal_overflowed = false;
        try {
            literal_step_7(*literal, 1, {}, Small_counts);
        } catch (const Vantel_error&) {
            literal_overflowed = true;
        }
        EXPECT_EQ(overflowed, overflows) << c.what;
        EXPECT_EQ(literal_overflowed, overflows) << c.what;
        world.state.run.Current_epoch = 1;  // the epoch counter is the driver's
        expect_same_network(*literal, world.state, c.what);
        EXPECT_TRUE(W2_trained(world.state) || overflows) << c.what;
    }
    omp_set_num_threads(threads);
}

TEST(Training, results_do_not_depend_on_the_number_of_threads)
{
    const int threads = omp_get_max_threads();
    std::unique_ptr<Program_state> results[2];
    for (int t = 0; t < 2; ++t) {
        omp_set_num_threads(t + 1);
        Small_world world(41);
        fill_edge_W1(world.state, 41);
        world.session.trigger(Control::Button_Step_5);
        world.state.run.Epochs = 1;
        world.session.trigger(Control::Button_Step_7);
        world.session.trigger(Control::Button_Step_8);
        results[t] = world.copy();
    }
    omp_set_num_threads(threads);
    const Vedero_network& one = results[0]->net;
    const Vedero_network& two = results[1]->net;
    // Bit for bit, signs of zeros included.
    EXPECT_EQ(std::memcmp(&one, &two, sizeof one), 0);
    EXPECT_EQ(results[0]->run.Accuracy, results[1]->run.Accuracy);
    EXPECT_TRUE(W2_trained(*results[0]));
}

}  // namespace
}  // namespace vantel::test
