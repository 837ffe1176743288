// The pieces of fast_sigmoid's error bound measured against libquadmath
// (113-bit significands), in units of u = 2^-64: glibc's expl (the
// assumption), the fast e^-x and both unrounded sigmoids.
#pragma once

#include <quadmath.h>

#include <algorithm>
#include <cstdint>

#include "sigmoid_comparison.h"

namespace vantel::test {

using Quad = __float128;

inline double relative_error_in_u(Quad value, Quad exact)
{
    return static_cast<double>(fabsq((value - exact) / exact)) * 0x1p64;
}

struct Accuracy {
    long samples = 0;
    double expl = 0;               // |expl(y) / e^y - 1|
    double expl_at = 0;            // the y of that worst case
    double exp_minus = 0;          // the fast e^-x
    double literal_unrounded = 0;  // 1 / (1 + expl(-x)) in extended
    double fast_unrounded = 0;     // sigmoid_estimate(x)
};

// Inputs of the general path: uniform over it, and small magnitudes, where
// expl is least accurate.
inline Accuracy measure_accuracy(long count, std::uint64_t seed)
{
    using fast_sigmoid_detail::One_from;
    using fast_sigmoid_detail::Zero_from;
    Random random(seed);
    Accuracy a;
    for (long i = 0; i < count; ++i) {
        double x;
        if (i % 2 == 0) {
            x = uniform(random, Zero_from, One_from);
        } else {
            x = std::exp2(uniform(random, -30, 3));
            if (random() & 1) x = -x;
        }
        if (!(x > Zero_from && x < One_from)) continue;
        ++a.samples;
        const Quad exact_exp = expq(-static_cast<Quad>(x));
        const Quad exact_sigmoid = 1 / (1 + exact_exp);
        const Extended literal_exp = expl(-static_cast<Extended>(x));
        const double expl_error = relative_error_in_u(literal_exp, exact_exp);
        if (expl_error > a.expl) {
            a.expl = expl_error;
            a.expl_at = -x;
        }
        a.exp_minus = std::max(a.exp_minus, relative_error_in_u(fast_sigmoid_detail::exp_minus(x), exact_exp));
        a.literal_unrounded =
            std::max(a.literal_unrounded, relative_error_in_u(1.0L / (1.0L + literal_exp), exact_sigmoid));
        a.fast_unrounded = std::max(a.fast_unrounded,
                                    relative_error_in_u(fast_sigmoid_detail::sigmoid_estimate(x), exact_sigmoid));
    }
    return a;
}

// The bound's pieces as fast_sigmoid.h derives them: expl within 4 u (the
// assumption), the fast e^-x within 1.037 u, and 1 + e and the division one
// rounding each, so the unrounded sigmoids within 6 u and 3.037 u (plus
// second-order terms far below 0.001 u).
inline constexpr double Assumed_expl_error = 4.0;
inline constexpr double Derived_exp_minus_error = 1.037;

}  // namespace vantel::test
