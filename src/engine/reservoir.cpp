#include "engine/reservoir.h"

#include <algorithm>
#include <cfenv>

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

[[noreturn]] void overflow(Session& session)
{
    session.window.set_enabled(Control::Button_Step_4, true);
    throw Vantel_error("Floating point overflow");
}

void fill_stretched(Session& session, Visit_order order)
{
    Vedero_network& net = session.state.net;
    const double* xn = session.state.series.xn;
    const int n = session.state.series.N;

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
            overflow(session);
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

void Button_Step_3Click(Session& session)
{
    session.window.set_enabled(Control::Button_Step_3, false);
    session.step_pause();

    Vedero_network& net = session.state.net;
    std::fill(std::begin(net.Y), std::end(net.Y), 0.0);
    std::fill(std::begin(net.Sh), std::end(net.Sh), 0.0);
    std::fill(std::begin(net.Sout), std::end(net.Sout), 0.0);
    std::fill(std::begin(net.Delta_out), std::end(net.Delta_out), 0.0);
    for (auto& row : net.W1) std::fill(std::begin(row), std::end(row), 0.0);
    for (auto& row : net.dW2) std::fill(std::begin(row), std::end(row), 0.0);
    for (auto& row : net.W2) std::fill(std::begin(row), std::end(row), 0.5);

    session.window.set_enabled(Control::Button_Step_3, true);
}

void Button_Step_4Click(Session& session)
{
    Window& window = session.window;
    window.set_enabled(Control::Button_Step_4, false);
    const int method = window.selected_method();
    session.step_pause();

    const Series_input& series = session.state.series;
    // Before the first extraction N is 0: the wrap and the segment search
    // would read outside the series.
    if (series.N < 5 || series.N > Max_N) {
        window.message("Please extract a series first (Show or Step 1).");
        window.set_enabled(Control::Button_Step_4, true);
        return;
    }

    Vedero_network& net = session.state.net;
    switch (method) {
    case 1: fill_wrapping(net, Visit_order::Column_by_column, series.xn, series.N); break;
    case 2: fill_truncating(net, Visit_order::Column_by_column, series.xn, series.N); break;
    case 3: fill_stretched(session, Visit_order::Column_by_column); break;
    case 4: fill_wrapping(net, Visit_order::Row_by_row, series.xn, series.N); break;
    case 5: fill_truncating(net, Visit_order::Row_by_row, series.xn, series.N); break;
    case 6: fill_stretched(session, Visit_order::Row_by_row); break;
    default: break;  // no method selected: W1 stays as it is
    }

    window.set_enabled(Control::Button_Step_4, true);
}

}  // namespace vantel
