#include "engine/rescaling.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/error.h"
#include "base/number_format.h"

namespace vantel {

bool parse_rescale(std::string_view text, Rescale& rescale)
{
    for (const Rescale r : {Rescale::none, Rescale::minmax, Rescale::zscore})
        if (text == rescale_name(r)) {
            rescale = r;
            return true;
        }
    return false;
}

std::string_view rescale_name(Rescale rescale)
{
    switch (rescale) {
    case Rescale::minmax: return "minmax";
    case Rescale::zscore: return "zscore";
    case Rescale::none: break;
    }
    return "none";
}

namespace {

struct Moments {
    double mean = 0;
    double squares = 0;  // the sum of the squared deviations
    double sd = 0;
};

// Mean and population standard deviation of the values times 2^shift, each
// sum in order.
Moments moments(const std::vector<double>& values, int shift)
{
    Moments m;
    double sum = 0;
    for (const double x : values) sum += std::ldexp(x, shift);
    m.mean = sum / static_cast<double>(values.size());
    for (const double x : values) m.squares += (std::ldexp(x, shift) - m.mean) * (std::ldexp(x, shift) - m.mean);
    m.sd = std::sqrt(m.squares / static_cast<double>(values.size()));
    return m;
}

}  // namespace

std::vector<double> rescaled(std::span<const double> series, Rescale rescale)
{
    std::vector<double> out(series.begin(), series.end());
    if (rescale == Rescale::none || out.empty()) return out;
    for (const double x : out)
        if (!std::isfinite(x)) throw Vantel_error("a series with a value that is not finite cannot be rescaled");
    // Plain double arithmetic (SSE on x86-64, each operation rounded to
    // double, never contracted), in the order written: the documented
    // formula is the result, bit for bit.
    // A constant series is told by its values themselves: the mean of equal
    // values computed in double need not equal them (3 x 0.1 gives a mean
    // just off 0.1), so sd == 0 alone would let such a series through as
    // values of +-1.
    const auto [low, high] = std::minmax_element(out.begin(), out.end());
    const double min = *low;
    const double max = *high;
    if (max == min)
        throw Vantel_error("a constant series cannot be rescaled by " + std::string(rescale_name(rescale)) +
                           ": every value is " + format_general(min, '.'));
    if (rescale == Rescale::minmax) {
        const double range = max - min;
        if (!std::isfinite(range))
            throw Vantel_error("a series whose values lie farther apart than the double range cannot be rescaled");
        for (double& x : out) x = (x - min) / range;
    } else {
        Moments m = moments(out, 0);
        // Values near the ends of the double range: their squares overflow,
        // or underflow into subnormals that have lost digits. The same
        // moments of the values times a power of two (exact) then stand in
        // the normal range; they give the same standardized values.
        int shift = 0;
        if (!std::isfinite(m.mean) || !std::isfinite(m.sd) || m.squares < std::numeric_limits<double>::min()) {
            shift = -std::ilogb(std::max(std::fabs(min), std::fabs(max)));
            m = moments(out, shift);
        }
        if (!std::isfinite(m.sd) || m.sd == 0)
            throw Vantel_error(std::string("a series whose standard deviation is ") +
                               (m.sd == 0 ? "0" : "beyond the double range") + " cannot be rescaled by zscore");
        for (double& x : out) x = (std::ldexp(x, shift) - m.mean) / m.sd;
    }
    return out;
}

}  // namespace vantel
