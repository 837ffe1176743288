#include "support/synthetic_engine.h"

#include <random>

#include "base/date_time.h"

namespace vantel::test {

void fill_synthetic_datasets(Program_state& state, unsigned seed)
{
    Pattern_datasets& d = state.datasets;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pixel(1, 255);
    std::uniform_int_distribution<int> digit(0, 9);
    std::bernoulli_distribution inked(0.2);
    const auto fill_image = [&](std::uint8_t* record) {
        record[0] = 1;
        for (int s = 1; s <= Last_input; ++s) record[s] = inked(random) ? static_cast<std::uint8_t>(pixel(random)) : 0;
    };
    for (int k = 1; k <= Small_counts.train; ++k) {
        fill_image(d.Train_images[k]);
        for (int o = 0; o < Outputs; ++o) d.Train_targets[k][o] = 0.0;
        d.Train_targets[k][digit(random)] = 1.0;
    }
    for (int k = 1; k <= Small_counts.test; ++k) {
        fill_image(d.Test_images[k]);
        d.Test_labels[k] = static_cast<std::uint8_t>(digit(random));
    }
    for (int m = 1; m <= Last_input; ++m) d.T_pattern_table[m] = {(m - 1) / 28 + 1, (m - 1) % 28 + 1};
    d.T_pattern_table[5] = {0, 3};
    d.T_pattern_table[600] = {29, 1};
    mark_datasets_changed(d);
}

void fill_random_W1(Program_state& state, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int j = 1; j <= Neurons; ++j) {
        const double scale = std::ldexp(1.0, j % 9 - 4);  // 1/16 .. 16
        for (int i = 0; i <= Last_input; ++i) state.net.W1[i][j] = scale * unit(random);
    }
}

void fill_edge_W1(Program_state& state, unsigned seed)
{
    fill_random_W1(state, seed);
    auto& W1 = state.net.W1;
    std::mt19937 random(seed + 1000);
    std::uniform_real_distribution<double> positive(0.0, 1.0);
    for (int i = 0; i <= Last_input; ++i) {
        W1[i][1] = 0.0;
        W1[i][2] = -0.5 - positive(random);
        W1[i][3] = 1.0 + positive(random);
        W1[i][4] = W1[i][5] = W1[i][6] = 0.0;
        W1[i][7] = 1e300 * (positive(random) - 0.25);
    }
    W1[0][3] = 150.0;
    W1[0][4] = 42.0;
    W1[0][5] = -7.0;
    W1[0][6] = 250.0;
}

void reset_output_layer(Program_state& state)
{
    for (auto& row : state.net.W2)
        for (double& w : row) w = 0.5;
    for (auto& row : state.net.dW2)
        for (double& d : row) d = 0.0;
}

Small_world::Small_world(unsigned seed)
{
    engine_workspace(session).counts = Small_counts;
    fill_synthetic_datasets(state, seed);
    fill_random_W1(state, seed);
    reset_output_layer(state);
    state.run.One_second = one_second_units();
    session.now = [this] {
        ++clock_reads;
        return clock;
    };
}

}  // namespace vantel::test
