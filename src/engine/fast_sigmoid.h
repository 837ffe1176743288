// The output neurons' sigmoid without expl, bit for bit the same as
// sigmoid() of extended_arithmetic.h, overflow flag included.
//
// e^-x comes from a table of 2^(i/256) and a short polynomial; 1 / (1 + e)
// is formed in extended as the literal function forms it. The two extended
// results differ by at most a bound derived below, so when every value
// within that bound rounds to the same double, that double is the literal
// function's answer. Otherwise (about one call in a hundred) the literal
// function is called. Inputs far out, where the literal result is a
// constant, return the constant; NaN, infinities and the inputs where expl
// overflows or underflows always go to the literal function, so that the
// overflow flag is raised exactly as it is there. Only the overflow flag is
// kept identical: the fast path may leave the inexact and underflow flags
// differently set, and nothing reads them.
//
// Error bound. u = 2^-64, the unit roundoff of extended arithmetic (round to
// nearest). y = -x, and the general path serves -45 < y < 746.
//
//   k is y x 256 / ln2 rounded to an integer in double, so with the exact
//   r* = y - k ln2 / 256 we have |r*| <= (1/2 + 2^-30) ln2 / 256 < 0.001354
//   and e^y = 2^m x 2^(i/256) x e^r* for m = floor(k / 256), i = k mod 256.
//
//   r: k x Ln2_hi is exact (|k| < 2^19, Ln2_hi has 45 bits) and so is
//   y - k x Ln2_hi (a multiple of 2^-63 below 2^-9); k x Ln2_lo and the
//   last subtraction add at most u x 0.001354 + 2^-99, and Ln2_hi + Ln2_lo
//   misses ln2 / 256 by 2^-101.5 of it, k times: |r - r*| <= 2^-73.5.
//
//   p = e^r - 1 - r by Taylor's terms up to r^6 / 720 in double, evaluated
//   at r rounded to double: truncation <= 0.001354^7 / 5040 < 2^-78.9, the
//   argument's rounding moves p by <= 2^-72.0, the evaluation's roundings
//   (three on the leading term, one on the sum: 4 x 2^-53 of p < 2^-20) by
//   <= 2^-71.0: in all <= 2^-70.4.
//   q = r + p, one rounding (<= 2^-73.5): |q - (e^r* - 1)| <= 2^-70.1.
//
//   v = T_hi + (T_hi x q + T_lo), where T_hi + T_lo is 2^(i/256) within
//   2^-100 of it (tested): the inner roundings add <= 2^-71.5, q's error
//   times T_hi < 2 adds <= 2^-69.1, the product T_lo x q that the sum
//   leaves out (|T_lo| <= 2^-64, |q| < 0.001355) <= 2^-73.5, the outer
//   rounding u x v. Divided by 2^(i/256) e^r* >= 0.99865, v's relative
//   error is <= u + (2^-69.1 + 2^-71.5 + 2^-73.5) / 0.99865 < 1.037 u.
//
//   e = v x 2^m is exact: e lies far inside the range of extended numbers.
//   So e = e^y (1 + f) with |f| <= 1.037 u.
//
// The assumption about glibc's expl: expl(y) = e^y (1 + g) with |g| <= 2^-62
// = 4 u for the doubles y served here (-45 < y < 746). Measured against
// libquadmath's expq, the largest |g| was 1.60 u (about 1.1 ulp, at
// y = 0x1.6525100092e48p-2) over 5 million y in [-1, 1] and 1.26 u over
// 5 million in [-50, 746]; the tests check the 4 u on further samples.
//
// Both paths then add 1 and divide, each step rounding once (u); and
// 1 + e^y (1 + f) = (1 + e^y)(1 + f') with |f'| <= |f|, the same for g.
// Hence the literal extended result L and the fast one S satisfy
// L / S = 1 +- (4 u + 4 u + 1.037 u) to first order, the rest below 2^-120:
// |L - S| <= 9.04 u x S.
//
// The rounding test widens S by w = 12 u x S to each side. w, S - w and
// S + w round once more each (by <= 12 u^2 x S, <= u x S, <= u x S), and
// 12 u (1 - u)^2 > 9.04 u + u, so below <= L <= above. Rounding to double
// is monotone: when below and above round to the same double, so does L, whether L is a midpoint (a tie) or
// subnormal or not. The results lie in [0, 1]: the top of the double range
// is never near and no conversion here can overflow.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/extended_arithmetic.h"

namespace vantel {

namespace fast_sigmoid_detail {

inline constexpr int Table_bits = 8;
inline constexpr int Table_size = 1 << Table_bits;

// 2^(i/256) = hi[i] + lo[i] within 2^-100, for i = 0..255.
struct Exp2_table {
    Extended hi[Table_size];
    double lo[Table_size];
};
extern const Exp2_table exp2_table;

// 256 / ln2, and ln2 / 256 split so that k x Ln2_hi is exact for |k| < 2^19.
inline constexpr double Table_size_over_ln2 = 0x1.71547652b82fep+8;
inline constexpr double Ln2_hi = 0x1.62e42fefa3ap-9;
inline constexpr double Ln2_lo = -0x1.0ca86c3898dp-57;

// Adding and subtracting 1.5 x 2^52 rounds a double below 2^51 to an integer.
inline constexpr double Round_to_integer = 0x1.8p52;

// Where the general path ends. At or below Zero_from the literal result is
// below 2^-1076 and rounds to +0; at or above One_from e^-x (and expl's
// result) is below 2^-64, 1 + e rounds to 1 and the result is 1. Beyond
// Expl_overflows_below expl overflows (from -11356.5234...), beyond
// Expl_underflows_above its result is subnormal (from 11355.137...).
inline constexpr double Zero_from = -746.0;
inline constexpr double One_from = 45.0;
inline constexpr double Expl_overflows_below = -11356.0;
inline constexpr double Expl_underflows_above = 11355.0;

// 12 u: the half-width of the rounding test, see the bound above.
inline constexpr Extended Rounding_margin = 0x1.8p-61L;

// 2^m for -1022 <= m <= 1023, built from its bits.
inline double power_of_two(int m)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(m + 1023) << 52;
    double p;
    std::memcpy(&p, &bits, sizeof p);
    return p;
}

// The stages of e^-x, y = -x, split so that several sigmoids can advance
// stage by stage side by side (fast_sigmoids); exp_minus chains them.

// y x 256 / ln2 rounded to an integer, as a double.
inline double table_step(double y)
{
    return (y * Table_size_over_ln2 + Round_to_integer) - Round_to_integer;
}

// r = y - kd x ln2 / 256 in extended.
inline Extended reduced_argument(double y, double kd)
{
    return (static_cast<Extended>(y) - static_cast<Extended>(kd) * Ln2_hi) - static_cast<Extended>(kd) * Ln2_lo;
}

// e^r - 1 - r from r rounded to double: below 2^-20, so double precision is
// plenty for it.
inline double exp_tail(double rd)
{
    const double r2 = rd * rd;
    return r2 * (1.0 / 2 + rd * (1.0 / 6)) + (r2 * r2) * ((1.0 / 24 + rd * (1.0 / 120)) + r2 * (1.0 / 720));
}

// e^y = 2^(kd / 256) x e^r from r and its tail p.
inline Extended scaled_exponential(double kd, Extended r, double p)
{
    const Extended q = r + p;
    const int k = static_cast<int>(kd);
    const int i = k & (Table_size - 1);
    const int m = k >> Table_bits;
    const Extended v = exp2_table.hi[i] + (exp2_table.hi[i] * q + exp2_table.lo[i]);
    // 2^m in two steps when it lies beyond the double range (x below -709).
    if (m > 1023) return v * power_of_two(m - 1023) * 0x1p1023;
    return v * power_of_two(m);
}

// e^-x for Zero_from < x < One_from, within 1.037 u of it.
inline Extended exp_minus(double x)
{
    const double y = -x;
    const double kd = table_step(y);
    const Extended r = reduced_argument(y, kd);
    return scaled_exponential(kd, r, exp_tail(static_cast<double>(r)));
}

// The fast path's verdict on its estimate s of the sigmoid: the double that
// every value within the error bound of s rounds to, in `out`, or false.
inline bool rounds_alike(Extended s, double& out)
{
    const Extended w = s * Rounding_margin;
    const double below = static_cast<double>(s - w);
    const double above = static_cast<double>(s + w);
    if (below != above) return false;
    out = below;
    return true;
}

// 1 / (1 + e^-x) in extended as the fast path forms it, before rounding.
inline Extended sigmoid_estimate(double x)
{
    return 1.0L / (1.0L + exp_minus(x));
}

}  // namespace fast_sigmoid_detail

// The literal sigmoid's result in `out` and true, or false when only the
// literal function can tell (out untouched). Never raises the overflow flag.
inline bool try_fast_sigmoid(double x, double& out)
{
    using namespace fast_sigmoid_detail;
    if (x > Zero_from && x < One_from) return rounds_alike(sigmoid_estimate(x), out);
    if (x >= One_from && x <= Expl_underflows_above) {
        out = 1.0;
        return true;
    }
    if (x <= Zero_from && x >= Expl_overflows_below) {
        out = 0.0;
        return true;
    }
    return false;  // NaN, infinities, and where expl over- or underflows
}

// sigmoid(x), overflow flag included.
inline double fast_sigmoid(double x)
{
    double out;
    if (try_fast_sigmoid(x, out)) return out;
    return sigmoid(x);
}

// fast_sigmoid of x[0..Count - 1] into out, each bit for bit as one call
// would give it. A sigmoid is a long chain of dependent steps; taken stage
// by stage over all Count inputs, the chains advance side by side instead
// of one after the other. Each stage does what exp_minus does, so the
// results are the same.
template <int Count>
inline void fast_sigmoids(const double* x, double* out)
{
    using namespace fast_sigmoid_detail;
    double y[Count];
    double kd[Count];
    double tail[Count];
    for (int o = 0; o < Count; ++o) {
        // Inputs outside the general path get y = 0 here and their own call below.
        y[o] = x[o] > Zero_from && x[o] < One_from ? -x[o] : 0.0;
        kd[o] = table_step(y[o]);
    }
    for (int o = 0; o < Count; ++o) tail[o] = exp_tail(static_cast<double>(reduced_argument(y[o], kd[o])));
    for (int o = 0; o < Count; ++o) {
        if (!(x[o] > Zero_from && x[o] < One_from))
            out[o] = fast_sigmoid(x[o]);
        else if (!rounds_alike(1.0L / (1.0L + scaled_exponential(kd[o], reduced_argument(y[o], kd[o]), tail[o])),
                               out[o]))
            out[o] = sigmoid(x[o]);  // the fast path cannot tell: it would fail again
    }
}

}  // namespace vantel
