#include "engine/reservoir.h"

#include <algorithm>
#include <cfenv>

#include "base/error.h"

namespace vantel {

namespace {

constexpr int Rows = Last_input + 1;     // inputs 0..784
constexpr int Cells = Rows * Neurons;    // 19625, the longest series
constexpr int Last_position = Cells;     // the stretched series spans positions 1..19625

enum class Visit_order { Column_by_column, Row_by_row };

// Cell with the 0-based visit number c.
double& cell(Vedero_network& net, Visit_order order, int c)
{
    if (order == Visit_order::Column_by_column) return net.W1[c % Rows][c / Rows + 1];
    return net.W1[c / Neurons][c % Neurons + 1];
}

void fill_wrapping(Vedero_network& net, Visit_order order, const double* xn, int n)
{
    int p = 0;
    for (int c = 0; c < Cells; ++c) {
        ++p;
        if (p > n) p = 1;  // the cell that runs out starts the series again
        cell(net, order, c) = xn[p];
    }
}

void fill_truncating(Vedero_network& net, Visit_order order, const double* xn, int n)
{
    const int line_count = order == Visit_order::Column_by_column ? Neurons : Rows;
    const int line_length = Cells / line_count;
    int p = 0;
    for (int line = 0; line < line_count; ++line) {
        for (int place = 0; place < line_length; ++place) {
            ++p;
            if (p > n) {
                p = 0;  // the rest of the line keeps what it held
                break;
            }
            cell(net, order, line * line_length + place) = xn[p];
        }
        // A line that used xn[N] last would leave the next one empty.
        if (p == n) p = 0;
    }
}

void fill_stretched(Vedero_network& net, Visit_order order, const double* xn, int n)
{
    for (int k = 1; k <= n; ++k)
        net.Grid_t[k] = static_cast<double>(
            static_cast<long double>(k - 1) / (n - 1) * (Last_position - 1) + 1);

    // Only the rounding of s, b or the cell to double can overflow: extended
    // precision holds every intermediate result of finite doubles.
    std::feclearexcept(FE_OVERFLOW);
    int segment = 1;
    for (int c = 0; c < Cells; ++c) {
        const int p = c + 1;
        segment = find_segment(net.Grid_t, n, p, segment);
        const int k = segment == 1 ? 2 : segment;
        const double t_a = net.Grid_t[k - 1];
        const double t_b = net.Grid_t[k];
        const double x_a = xn[k - 1];
        const double x_b = xn[k];
        const double s = t_a == t_b ? 0.0
                                    : static_cast<double>(
                                          (static_cast<long double>(x_a) - x_b) /
                                          (static_cast<long double>(t_a) - t_b));
        const double b = static_cast<double>(x_a - static_cast<long double>(s) * t_a);
        double& target = cell(net, order, c);
        const double previous = target;
        // Stored before the flags are read, so that the rounding cannot be
        // moved past the test.
        target = static_cast<double>(static_cast<long double>(s) * p + b);
        if (std::fetestexcept(FE_OVERFLOW)) {
            target = previous;  // W1 never holds an infinity
            throw Overflow_error();
        }
    }
}

}  // namespace

int find_segment(const double* grid, int n, int p, int from)
{
    // Every k below `from` was passed for a smaller position, so p passes it too.
    int k = from;
    while (k != n && p > grid[k]) ++k;
    return k;
}

void reset_network(Vedero_network& net)
{
    std::fill(std::begin(net.Y), std::end(net.Y), 0.0);
    std::fill(std::begin(net.Sh), std::end(net.Sh), 0.0);
    std::fill(std::begin(net.Sout), std::end(net.Sout), 0.0);
    std::fill(std::begin(net.Delta_out), std::end(net.Delta_out), 0.0);
    for (auto& row : net.W1) std::fill(std::begin(row), std::end(row), 0.0);
    for (auto& row : net.dW2) std::fill(std::begin(row), std::end(row), 0.0);
    for (auto& row : net.W2) std::fill(std::begin(row), std::end(row), 0.5);
}

void fill_reservoir(Vedero_network& net, const double* xn, int n, int method)
{
    switch (method) {
    case 1: fill_wrapping(net, Visit_order::Column_by_column, xn, n); break;
    case 2: fill_truncating(net, Visit_order::Column_by_column, xn, n); break;
    case 3: fill_stretched(net, Visit_order::Column_by_column, xn, n); break;
    case 4: fill_wrapping(net, Visit_order::Row_by_row, xn, n); break;
    case 5: fill_truncating(net, Visit_order::Row_by_row, xn, n); break;
    case 6: fill_stretched(net, Visit_order::Row_by_row, xn, n); break;
    default: break;  // no method: W1 stays as it is
    }
}

}  // namespace vantel
