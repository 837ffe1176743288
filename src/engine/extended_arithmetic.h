// The engine's arithmetic rule, one function per kind of stored value.
//
// Every value the network stores is a double, but its right-hand side is
// evaluated in 80-bit extended precision (x87, precision control at 64 bits,
// as Linux sets it for every thread) and rounded to double once, when it is
// stored. Running sums held in doubles are therefore rounded after every
// addition, while the product added to them is not rounded on its own.
// Published values depend on this double rounding, so none of these may be
// rewritten in plain double arithmetic, contracted into an FMA or reordered.
#pragma once

#include <cfenv>
#include <cmath>

// Options that let the compiler reorder, contract or assume away parts of
// this arithmetic change published values: refuse them outright.
#if defined(__FAST_MATH__)
#error "the engine must not be compiled with -ffast-math: its results depend on every rounding"
#endif
#if defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "the engine must not be compiled with -ffinite-math-only: it tests for infinities and overflow"
#endif
#if !defined(__x86_64__)
#error "the engine's results are defined by the x87 80-bit extended format of x86-64"
#endif

namespace vantel {

using Extended = long double;

// acc + y x w, as one step of a raw sum or of an output sum.
inline double add_product(double acc, double y, double w)
{
    return static_cast<double>(static_cast<Extended>(y) * w + acc);
}

// The equal-bounds guard: the difference compared with 0.0, which holds
// exactly when the two stored doubles are equal (and not for infinities,
// whose difference is not a number).
inline bool bounds_equal(double max, double min)
{
    return static_cast<Extended>(max) - min == 0.0L;
}

// (raw - min) / (max - min) - 0.5 - c, left to right, one rounding; a neuron
// whose bounds are equal keeps its raw sum and is not centred either.
inline double normalized_value(double raw, double max, double min, double c)
{
    if (bounds_equal(max, min)) return raw;
    return static_cast<double>((static_cast<Extended>(raw) - min) / (static_cast<Extended>(max) - min) -
                               0.5L - c);
}

// 1 / (1 + e^-x); expl overflows (and raises the overflow flag) for x below
// about -11356.
inline double sigmoid(double x)
{
    return static_cast<double>(1.0L / (1.0L + expl(-static_cast<Extended>(x))));
}

// (T - S) x S x (1 - S), multiplied left to right.
inline double error_term(double target, double s)
{
    return static_cast<double>((static_cast<Extended>(target) - s) * s * (1.0L - s));
}

inline double sum_rounded(double a, double b)
{
    return static_cast<double>(static_cast<Extended>(a) + b);
}

// Correct_count / Tested_count x 100: the division first, one rounding.
inline double percentage(int correct, int tested)
{
    return static_cast<double>(static_cast<Extended>(correct) / tested * 100.0L);
}

// The predicted digit: p starts at 1 and moves only to a strictly larger
// output, so a tie with output 1 keeps 1, any other tie the smallest index.
inline int predicted_digit(const double* Sout)
{
    int p = 1;
    for (int o = 0; o < 10; ++o)
        if (Sout[o] > Sout[p]) p = o;
    return p;
}

// The overflow flag of the calling thread. Converting an extended value
// beyond the double range to double raises it, and so does expl.
inline void clear_overflow() { std::feclearexcept(FE_OVERFLOW); }
inline bool overflow_raised() { return std::fetestexcept(FE_OVERFLOW) != 0; }


}  // namespace vantel
