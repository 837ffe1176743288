#include "support/literal_engine.h"

#include <cfenv>
#include <cmath>

#include <gtest/gtest.h>

#include "model/session.h"
#include "engine/input_vector.h"
#include "engine/datasets.h"

namespace vantel::test {

namespace {

using Ext = long double;

void start_image() { std::feclearexcept(FE_OVERFLOW); }

void end_image()
{
    if (std::fetestexcept(FE_OVERFLOW)) throw Vantel_error("Floating point overflow");
}

void build_train_Y(Program_state& state, int k)
{
    build_input_vector(state.datasets, state.datasets.Train_images[k], state.net.Y);
}

}  // namespace

void literal_raw_sum(Program_state& state, int j)
{
    Vedero_network& n = state.net;
    n.Sh[j] = 0;
    for (int i = 0; i <= 784; ++i) n.Sh[j] = static_cast<double>(static_cast<Ext>(n.Y[i]) * n.W1[i][j] + n.Sh[j]);
}

void literal_normalize(Program_state& state, int j, double c)
{
    Vedero_network& n = state.net;
    if (static_cast<Ext>(n.Sh_max[j]) - n.Sh_min[j] == 0.0) return;
    n.Sh[j] = static_cast<double>((static_cast<Ext>(n.Sh[j]) - n.Sh_min[j]) /
                                      (static_cast<Ext>(n.Sh_max[j]) - n.Sh_min[j]) -
                                  0.5 - c);
}

void literal_forward(Program_state& state)
{
    for (int j = 1; j <= 25; ++j) {
        literal_raw_sum(state, j);
        literal_normalize(state, j, state.net.Sh_mean[j]);
    }
    state.net.Sh[0] = 1.0;
}

void literal_output_layer(Program_state& state)
{
    Vedero_network& n = state.net;
    for (int o = 0; o <= 9; ++o) {
        n.Sout[o] = 0;
        for (int h = 0; h <= 25; ++h) n.Sout[o] = static_cast<double>(static_cast<Ext>(n.Sh[h]) * n.W2[h][o] + n.Sout[o]);
        n.Sout[o] = static_cast<double>(1 / (1 + expl(-static_cast<Ext>(n.Sout[o]))));
    }
}

void literal_step_5(Program_state& state, Image_counts counts)
{
    Vedero_network& n = state.net;
    for (int j = 0; j <= 25; ++j) n.Sh_max[j] = 0.0;
    for (int j = 0; j <= 25; ++j) n.Sh_min[j] = 100.0;
    for (int k = 1; k <= counts.train; ++k) {
        start_image();
        build_train_Y(state, k);
        n.Sh[0] = 1.0;
        n.Sh_max[0] = 1.0;
        n.Sh_min[0] = 1.0;
        for (int j = 1; j <= 25; ++j) {
            literal_raw_sum(state, j);
            if (n.Sh[j] > n.Sh_max[j]) n.Sh_max[j] = n.Sh[j];
            if (n.Sh[j] < n.Sh_min[j]) n.Sh_min[j] = n.Sh[j];
        }
        end_image();
    }
    for (int j = 1; j <= 25; ++j) {
        double S = 0.0;
        for (int k = 1; k <= 1000; ++k) {
            start_image();
            build_train_Y(state, k);
            literal_raw_sum(state, j);
            literal_normalize(state, j, 0.0);
            S = static_cast<double>(static_cast<Ext>(S) + n.Sh[j]);
            end_image();
        }
        n.Sh_mean[j] = static_cast<double>(static_cast<Ext>(S) / 1000);
    }
}

void literal_step_7(Program_state& state, int epochs, const Literal_pump& pump, Image_counts counts)
{
    Vedero_network& n = state.net;
    Run_control& r = state.run;
    r.Learning_rate = 0.2;
    r.Current_epoch = 0;
    for (;;) {
        r.Current_epoch = r.Current_epoch + 1;
        if (pump) pump(state, r.Current_epoch, 0);
        int k = 0;
        for (;;) {
            k = k + 1;
            if (pump) pump(state, r.Current_epoch, k);
            start_image();
            build_train_Y(state, k);
            literal_forward(state);
            literal_output_layer(state);
            for (int o = 0; o <= 9; ++o)
                n.Delta_out[o] = static_cast<double>((static_cast<Ext>(state.datasets.Train_targets[k][o]) - n.Sout[o]) *
                                                     n.Sout[o] * (1 - static_cast<Ext>(n.Sout[o])));
            for (int h = 0; h <= 25; ++h)
                for (int o = 0; o <= 9; ++o) {
                    n.dW2[h][o] = static_cast<double>(static_cast<Ext>(r.Learning_rate) * n.Delta_out[o] * n.Sh[h]);
                    n.W2[h][o] = static_cast<double>(static_cast<Ext>(n.W2[h][o]) + n.dW2[h][o]);
                }
            end_image();
            if (k == counts.train || r.Stop_requested) break;
        }
        if (r.Current_epoch == epochs || r.Stop_requested) break;
    }
}

void literal_step_8(Program_state& state, Image_counts counts)
{
    Vedero_network& n = state.net;
    Run_control& r = state.run;
    r.Correct_count = 0;
    r.Tested_count = 0;
    for (int k = 1; k <= counts.test; ++k) {
        start_image();
        build_input_vector(state.datasets, state.datasets.Test_images[k], n.Y);
        literal_forward(state);
        literal_output_layer(state);
        int p = 1;
        r.Tested_count = r.Tested_count + 1;
        for (int o = 0; o <= 9; ++o)
            if (n.Sout[o] > n.Sout[p]) p = o;
        if (state.datasets.Test_labels[k] == p) r.Correct_count = r.Correct_count + 1;
        end_image();
    }
    r.Accuracy = static_cast<double>(static_cast<Ext>(r.Correct_count) / r.Tested_count * 100);
}

int first_difference(const double* a, const double* b, int count)
{
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i]) && !(a[i] != a[i] && b[i] != b[i])) return i;
    return -1;
}

namespace {

void expect_same(const double* expected, const double* actual, int count, const std::string& what,
                 const char* field)
{
    const int at = first_difference(expected, actual, count);
    EXPECT_EQ(at, -1) << what << ": " << field << " differs at element " << at << ": "
                      << (at >= 0 ? expected[at] : 0) << " expected, " << (at >= 0 ? actual[at] : 0);
}

}  // namespace

void expect_same_network(const Program_state& expected, const Program_state& actual, const std::string& what)
{
    const Vedero_network& e = expected.net;
    const Vedero_network& a = actual.net;
    expect_same(e.Sh_max, a.Sh_max, Neurons + 1, what, "Sh_max");
    expect_same(e.Sh_min, a.Sh_min, Neurons + 1, what, "Sh_min");
    expect_same(e.Sh_mean + 1, a.Sh_mean + 1, Neurons, what, "Sh_mean");
    expect_same(&e.W2[0][0], &a.W2[0][0], (Neurons + 1) * Outputs, what, "W2");
    expect_same(&e.dW2[0][0], &a.dW2[0][0], (Neurons + 1) * Outputs, what, "dW2");
    expect_same(e.Y, a.Y, Last_input + 1, what, "Y");
    expect_same(e.Sh, a.Sh, Neurons + 1, what, "Sh");
    expect_same(e.Sout, a.Sout, Outputs, what, "Sout");
    expect_same(e.Delta_out, a.Delta_out, Outputs, what, "Delta_out");
    EXPECT_EQ(expected.run.Correct_count, actual.run.Correct_count) << what;
    EXPECT_EQ(expected.run.Tested_count, actual.run.Tested_count) << what;
    EXPECT_EQ(expected.run.Accuracy, actual.run.Accuracy) << what;
    EXPECT_EQ(expected.run.Learning_rate, actual.run.Learning_rate) << what;
    EXPECT_EQ(expected.run.Current_epoch, actual.run.Current_epoch) << what;
}

}  // namespace vantel::test
