// A program whose series the test sets directly, for filling W1 through
// steps 3 and 4 and reading it back cell by cell.
#pragma once

#include <algorithm>
#include <iterator>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace vantel::test {

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

}  // namespace vantel::test
