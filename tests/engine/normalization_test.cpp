// Step 5 and the reservoir forward pass against the literal engine, and the
// edges of the normalization.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "engine/input_vector.h"
#include "engine/datasets.h"
#include "engine/engine_workspace.h"
#include "engine/extended_arithmetic.h"
#include "engine/raw_sums.h"
#include "support/literal_engine.h"
#include "support/synthetic_engine.h"

namespace vantel::test {
namespace {

// The raw sums of neuron j over the training images, by the literal sum.
struct Literal_range {
    double smallest = std::numeric_limits<double>::infinity();
    double largest = -std::numeric_limits<double>::infinity();
};

Literal_range literal_range(Program_state& state, int j)
{
    Literal_range range;
    for (int k = 1; k <= Small_counts.train; ++k) {
        build_input_vector(state.datasets, state.datasets.Train_images[k], state.net.Y);
        literal_raw_sum(state, j);
        range.smallest = std::min(range.smallest, state.net.Sh[j]);
        range.largest = std::max(range.largest, state.net.Sh[j]);
    }
    return range;
}

TEST(Normalization, worked_example_in_the_forward_pass_and_in_the_mean_pass)
{
    EXPECT_EQ(normalized_value(10.0, 30.0, -10.0, 0.05), -0.05);
    EXPECT_EQ(normalized_value(10.0, 30.0, -10.0, 0.0), 0.0);
    // Equal bounds keep the raw sum and do not subtract the mean.
    EXPECT_EQ(normalized_value(17.25, 3.0, 3.0, 0.4), 17.25);

    auto state = std::make_unique<Program_state>();
    state->net.Sh_max[4] = 30.0;
    state->net.Sh_min[4] = -10.0;
    state->net.Sh[4] = 10.0;
    literal_normalize(*state, 4, 0.05);
    EXPECT_EQ(state->net.Sh[4], -0.05);
}

TEST(Normalization, one_rounding_at_the_end_differs_from_rounding_each_operation)
{
    // (raw - min) / (max - min) - 0.5 - c rounded once; the same formula in
    // plain doubles gives another value for these operands.
    const double raw = 4.2, max = 99.0 / 7 + 10, min = -24.0, c = 0.093;
    const double plain = (raw - min) / (max - min) - 0.5 - c;
    const double extended =
        static_cast<double>((static_cast<long double>(raw) - min) / (static_cast<long double>(max) - min) - 0.5L - c);
    ASSERT_NE(plain, extended) << "operands no longer tell the two roundings apart";
    EXPECT_EQ(normalized_value(raw, max, min, c), extended);
}

TEST(Normalization, sparse_raw_sums_equal_the_literal_sum_over_all_inputs)
{
    // W1 shapes whose repeated columns are summed once: every neuron's sums
    // must still be its own column's, and an overflow must be flagged.
    const auto copy_column = [](Program_state& s, int to, int from) {
        for (int i = 0; i <= Last_input; ++i) s.net.W1[i][to] = s.net.W1[i][from];
    };
    struct Case {
        const char* what;
        std::function<void(Program_state&)> shape;
        int distinct;
        bool overflows;
    };
    const Case cases[] = {
        {"edge W1", [](Program_state& s) { fill_edge_W1(s, 3); }, 25, false},
        {"one column 25 times",
         [&](Program_state& s) {
             for (int j = 2; j <= Neurons; ++j) copy_column(s, j, 1);
         },
         1, false},
        {"columns equal in part",
         [&](Program_state& s) {
             for (int j = 4; j <= Neurons; ++j) copy_column(s, j, 1 + j % 3);
             s.net.W1[Last_input][20] += 0.125;  // equal to column 3 but in its last cell
             s.net.W1[0][21] = -s.net.W1[0][21];  // and to column 1 but in the bias
         },
         5, false},
        {"-0.0 against +0.0",
         [&](Program_state& s) {
             for (int i = 0; i <= Last_input; ++i) s.net.W1[i][1] = i % 7 == 0 ? 0.5 : 0.0;
             for (int j = 2; j <= Neurons; ++j) copy_column(s, j, 1);
             s.net.W1[3][9] = -0.0;
         },
         2, false},
        {"a repeated column that overflows",
         [&](Program_state& s) {
             for (int i = 0; i <= Last_input; ++i) s.net.W1[i][1] = 1e307;
             for (int j = 2; j <= Neurons; j += 2) copy_column(s, j, 1);
         },
         13, true},
    };
    for (const Case& c : cases) {
        Small_world world(3);
        c.shape(world.state);
        EXPECT_EQ(distinct_columns(world.state.net.W1).count, c.distinct) << c.what;
        const Raw_sums& raw =
            current_train_raw_sums(engine_workspace(world.session), world.state.net, world.session.datasets());
        auto literal = world.copy();
        int overflowed = 0;
        for (int k = 1; k <= Small_counts.train; ++k) {
            build_input_vector(literal->datasets, literal->datasets.Train_images[k], literal->net.Y);
            for (int j = 1; j <= Neurons; ++j) literal_raw_sum(*literal, j);
            ASSERT_EQ(first_difference(&literal->net.Sh[1], &raw.sums[static_cast<std::size_t>(k) * Neurons], Neurons),
                      -1)
                << c.what << ", image " << k;
            const bool infinite = std::any_of(&literal->net.Sh[1], &literal->net.Sh[Neurons + 1],
                                              [](double v) { return std::isinf(v); });
            ASSERT_EQ(raw.overflowed[k] != 0, infinite) << c.what << ", image " << k;
            overflowed += infinite;
        }
        EXPECT_EQ(overflowed > 0, c.overflows) << c.what;
    }
}

TEST(Normalization, infinite_weights_are_summed_over_every_input)
{
    // 0 x infinity is not a zero: with such a weight the zero pixels count.
    Small_world world(4);
    auto literal = world.copy();
    build_input_vector(literal->datasets, literal->datasets.Train_images[1], literal->net.Y);
    int blank = 1;
    while (literal->net.Y[blank] != 0.0) ++blank;
    literal->net.W1[blank][9] = world.state.net.W1[blank][9] = std::numeric_limits<double>::infinity();
    const Raw_sums& raw = current_train_raw_sums(engine_workspace(world.session), world.state.net, world.session.datasets());
    literal_raw_sum(*literal, 9);
    EXPECT_TRUE(std::isnan(literal->net.Sh[9]));
    EXPECT_TRUE(std::isnan(raw.sums[Neurons + 8]));
    literal_raw_sum(*literal, 8);
    EXPECT_EQ(raw.sums[Neurons + 7], literal->net.Sh[8]);
}

class Step_5_against_literal : public ::testing::TestWithParam<int> {};

TEST_P(Step_5_against_literal, bounds_means_and_side_state_are_bit_identical)
{
    const int seed = GetParam();
    Small_world world(seed);
    if (seed % 2 == 0) fill_edge_W1(world.state, seed);
    auto literal = world.copy();

    world.session.trigger(Control::Button_Step_5);
    literal_step_5(*literal, Small_counts);

    expect_same_network(*literal, world.state, "step 5, seed " + std::to_string(seed));

    // The forward pass from the cached raw sums against the literal one.
    const Raw_sums& raw = current_train_raw_sums(engine_workspace(world.session), world.state.net, world.session.datasets());
    double Sh[Neurons + 1];
    for (int k = 1; k <= Small_counts.train; k += 7) {
        hidden_from_raw(world.state.net, &raw.sums[static_cast<std::size_t>(k) * Neurons], Sh);
        build_input_vector(literal->datasets, literal->datasets.Train_images[k], literal->net.Y);
        literal_forward(*literal);
        ASSERT_EQ(first_difference(literal->net.Sh, Sh, Neurons + 1), -1) << "image " << k;
    }
    // Not a trivial agreement: real ranges and means were measured.
    int normalized = 0;
    for (int j = 1; j <= Neurons; ++j)
        if (world.state.net.Sh_max[j] != world.state.net.Sh_min[j] && world.state.net.Sh_mean[j] != 0) ++normalized;
    EXPECT_GE(normalized, 15);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Step_5_against_literal, ::testing::Values(1, 2, 5, 6));

TEST(Normalization, edge_columns_keep_the_starting_bounds_or_raw_sums)
{
    Small_world world(8);
    fill_edge_W1(world.state, 8);
    auto literal = world.copy();
    world.session.trigger(Control::Button_Step_5);
    const Vedero_network& net = world.state.net;

    // All-zero column: both bounds 0, mean 0.
    EXPECT_EQ(net.Sh_max[1], 0.0);
    EXPECT_EQ(net.Sh_min[1], 0.0);
    EXPECT_EQ(net.Sh_mean[1], 0.0);
    // All negative: the upper bound stays 0, the lower is the smallest sum.
    const Literal_range negative = literal_range(*literal, 2);
    ASSERT_LT(negative.largest, 0.0);
    EXPECT_EQ(net.Sh_max[2], 0.0);
    EXPECT_EQ(net.Sh_min[2], negative.smallest);
    // All above 100: the lower bound stays 100.
    const Literal_range high = literal_range(*literal, 3);
    ASSERT_GT(high.smallest, 100.0);
    EXPECT_EQ(net.Sh_min[3], 100.0);
    EXPECT_EQ(net.Sh_max[3], high.largest);
    // One value everywhere: 42 gives equal bounds, -7 and 250 a bound of
    // their own against 0 or 100.
    EXPECT_EQ(net.Sh_max[4], 42.0);
    EXPECT_EQ(net.Sh_min[4], 42.0);
    EXPECT_EQ(net.Sh_mean[4], 42.0);
    EXPECT_EQ(net.Sh_max[5], 0.0);
    EXPECT_EQ(net.Sh_min[5], -7.0);
    EXPECT_EQ(net.Sh_mean[5], -0.5);
    EXPECT_EQ(net.Sh_max[6], 250.0);
    EXPECT_EQ(net.Sh_min[6], 100.0);
    EXPECT_EQ(net.Sh_mean[6], 0.5);
    EXPECT_EQ(net.Sh_max[0], 1.0);
    EXPECT_EQ(net.Sh_min[0], 1.0);

    // The forward pass keeps raw sums where the bounds are equal.
    const Raw_sums& raw = current_train_raw_sums(engine_workspace(world.session), world.state.net, world.session.datasets());
    double Sh[Neurons + 1] = {};
    for (int k : {1, 900}) {
        hidden_from_raw(world.state.net, &raw.sums[static_cast<std::size_t>(k) * Neurons], Sh);
        EXPECT_EQ(Sh[0], 1.0);
        EXPECT_EQ(Sh[1], 0.0);
        EXPECT_EQ(Sh[4], 42.0);
        EXPECT_EQ(Sh[5], 0.0);
        EXPECT_GE(Sh[2] + net.Sh_mean[2], -0.5);
        EXPECT_LT(Sh[2] + net.Sh_mean[2], 0.5);
    }
}

TEST(Normalization, caches_follow_a_change_of_W1_or_of_the_datasets)
{
    Small_world world(10);
    world.session.trigger(Control::Button_Step_5);
    const double first_max = world.state.net.Sh_max[3];

    // Same W1 again: the same bits.
    auto again = world.copy();
    world.session.trigger(Control::Button_Step_5);
    expect_same_network(*again, world.state, "second step 5");

    // One weight changed: the step sees it.
    world.state.net.W1[400][3] += 3.0;
    auto changed = world.copy();
    world.session.trigger(Control::Button_Step_5);
    literal_step_5(*changed, Small_counts);
    expect_same_network(*changed, world.state, "after a change of W1");
    EXPECT_NE(world.state.net.Sh_max[3], first_max);

    // New images under a new identity.
    fill_synthetic_datasets(world.state, 77);
    auto reloaded = world.copy();
    world.session.trigger(Control::Button_Step_5);
    literal_step_5(*reloaded, Small_counts);
    expect_same_network(*reloaded, world.state, "after new datasets");
}

}  // namespace
}  // namespace vantel::test
