// The table of 2^(i/256) behind fast_sigmoid, computed by the compiler in
// quadruple precision (113 bits) so that hi + lo carries about 105 correct
// bits, far more than the 64 + 36 the error bound asks for.
#include "engine/fast_sigmoid.h"

namespace vantel::fast_sigmoid_detail {
namespace {

using Quad = __float128;

// Newton's iteration for the square root of a in [1, 2]: from above the
// root it doubles its correct bits each step, so 12 steps are more than
// enough for all 113.
constexpr Quad square_root(Quad a)
{
    Quad x = a;
    for (int step = 0; step < 12; ++step) x = (x + a / x) / 2;
    return x;
}

// 2^(i/256) as the product of 2^(2^b / 256) over the bits b of i, each
// factor a repeated square root of 2.
constexpr Exp2_table build_exp2_table()
{
    Quad factor[Table_bits] = {};
    Quad root = 2;
    for (int b = Table_bits - 1; b >= 0; --b) factor[b] = root = square_root(root);

    Exp2_table table{};
    for (int i = 0; i < Table_size; ++i) {
        Quad value = 1;
        for (int b = 0; b < Table_bits; ++b)
            if (i >> b & 1) value *= factor[b];
        table.hi[i] = static_cast<Extended>(value);
        table.lo[i] = static_cast<double>(value - static_cast<Quad>(table.hi[i]));
    }
    return table;
}

}  // namespace

constexpr Exp2_table exp2_table = build_exp2_table();

}  // namespace vantel::fast_sigmoid_detail
