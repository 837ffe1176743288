// fast_sigmoid against the literal sigmoid, shared by the short and the long
// tests: families of inputs drawn from a seeded generator, and a comparison
// of every result's bits and overflow flag.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/extended_arithmetic.h"
#include "engine/fast_sigmoid.h"

namespace vantel::test {

using Random = std::mt19937_64;

inline double from_bits(std::uint64_t bits)
{
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

inline std::uint64_t bits_of(double x)
{
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

inline double uniform(Random& random, double low, double high)
{
    return std::uniform_real_distribution<double>(low, high)(random);
}

// x moved by up to `ulps` steps to either side along the doubles.
inline double jittered(Random& random, double x, std::int64_t ulps)
{
    const std::int64_t step = std::uniform_int_distribution<std::int64_t>(-ulps, ulps)(random);
    const std::int64_t ordered = static_cast<std::int64_t>(bits_of(std::fabs(x))) * (x < 0 ? -1 : 1) + step;
    const double moved = from_bits(static_cast<std::uint64_t>(ordered < 0 ? -ordered : ordered));
    return ordered < 0 ? -moved : moved;
}

// The smallest double x whose sigmoid raises the overflow flag is
// -0x1.62e42fefa39fp+13 (-11356.5234...), expl's threshold.
inline constexpr double First_overflowing_input = -0x1.62e42fefa39fp+13;

struct Sample_family {
    std::string name;
    long count;               // in the short test
    double least_fast_share;  // of the samples that try_fast_sigmoid must serve
    std::function<double(Random&)> draw;
};

inline std::vector<Sample_family> sample_families()
{
    constexpr double Ln2 = 0.6931471805599453;
    return {
        {"uniform in [-50, 50]", 1'000'000, 0.98, [](Random& r) { return uniform(r, -50, 50); }},
        {"log-uniform magnitudes from 2^-1074 to 2^14, both signs", 400'000, 0.97,
         [](Random& r) {
             const int exponent = std::uniform_int_distribution<int>(-1074, 13)(r);
             const double x = std::ldexp(uniform(r, 1, 2), exponent);
             return r() & 1 ? x : -x;
         }},
        {"random bit patterns", 400'000, 0.45, [](Random& r) { return from_bits(r()); }},
        {"around the overflow threshold", 100'000, 0.2,
         [](Random& r) {
             return r() & 1 ? uniform(r, -11357, -11355) : jittered(r, First_overflowing_input, 1 << 20);
         }},
        {"subnormal results and the edge of zero", 200'000, 0.98, [](Random& r) { return uniform(r, -747, -708); }},
        {"results next to 1", 100'000, 0.98, [](Random& r) { return uniform(r, 30, 47); }},
        // Results near 2^-j (binade edges, 2^-1022 and 2^-1074 among them,
        // and the midpoint 2^-1075) and near 1 - 2^-j.
        {"results near powers of two", 200'000, 0.9,
         [](Random& r) {
             const int j = std::uniform_int_distribution<int>(1, 1076)(r);
             const double edge = j < 60 ? std::log(std::expm1(j * Ln2)) : j * Ln2;
             const double x = (r() & 1) && j <= 64 ? edge : -edge;
             return jittered(r, x, std::int64_t{1} << std::uniform_int_distribution<int>(0, 16)(r));
         }},
    };
}

// Inputs at the edges of every range the fast path distinguishes.
inline std::vector<double> special_inputs()
{
    using limits = std::numeric_limits<double>;
    std::vector<double> inputs = {
        0.0, limits::denorm_min(), limits::min(), limits::max(), limits::infinity(), limits::quiet_NaN(),
        limits::signaling_NaN(), from_bits(0x7ff0000000000001), from_bits(0x7fffffffffffffff),
        -11356.0, 11355.0, 11355.137111933025, -746.0, 45.0, -745.13321910194122, -708.39641853226408,
        First_overflowing_input, std::nextafter(First_overflowing_input, 0.0), 709.0, -709.0, 1.0};
    const std::size_t given = inputs.size();
    for (std::size_t i = 0; i < given; ++i) {
        inputs.push_back(-inputs[i]);
        inputs.push_back(std::nextafter(inputs[i], limits::infinity()));
        inputs.push_back(std::nextafter(inputs[i], -limits::infinity()));
    }
    return inputs;
}

// Whether the extended value v in [0, 1] lies exactly halfway between two
// doubles, where rounding to double breaks a tie.
inline bool is_double_midpoint(Extended v)
{
    const double nearest = static_cast<double>(v);
    if (static_cast<Extended>(nearest) == v) return false;
    const double other = std::nextafter(nearest, v > nearest ? 2.0 : -1.0);
    return (static_cast<Extended>(nearest) + other) / 2 == v;
}

struct Comparison {
    long samples = 0;
    long served_fast = 0;         // try_fast_sigmoid answered
    long different = 0;           // results or overflow flags differing
    long fast_raised_overflow = 0;
    long overflows = 0;           // by the literal sigmoid
    long ties = 0;                // literal or fast extended result on a midpoint
    long ties_served_fast = 0;
    double first_difference = 0;  // the input of the first difference
};

// One input through both functions, each with a cleared overflow flag.
inline void compare_one(double x, Comparison& c)
{
    ++c.samples;
    clear_overflow();
    const double literal = sigmoid(x);
    const bool literal_overflow = overflow_raised();
    clear_overflow();
    const double fast = fast_sigmoid(x);
    const bool fast_overflow = overflow_raised();
    if (bits_of(literal) != bits_of(fast) || literal_overflow != fast_overflow) {
        if (c.different++ == 0) c.first_difference = x;
    }
    c.overflows += literal_overflow;

    clear_overflow();
    double served;
    const bool fast_path = try_fast_sigmoid(x, served);
    c.fast_raised_overflow += overflow_raised();
    c.served_fast += fast_path;

    // Ties can occur only where the general path computes an estimate.
    if (x > fast_sigmoid_detail::Zero_from && x < fast_sigmoid_detail::One_from) {
        const Extended unrounded = 1.0L / (1.0L + expl(-static_cast<Extended>(x)));
        if (is_double_midpoint(unrounded) || is_double_midpoint(fast_sigmoid_detail::sigmoid_estimate(x))) {
            ++c.ties;
            c.ties_served_fast += fast_path;
        }
    }
}

inline Comparison compare_family(const Sample_family& family, long count, std::uint64_t seed)
{
    Random random(seed);
    Comparison c;
    for (long i = 0; i < count; ++i) compare_one(family.draw(random), c);
    clear_overflow();
    return c;
}

}  // namespace vantel::test
