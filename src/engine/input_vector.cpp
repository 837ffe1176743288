// The input vector builder: gather an image record through the T-pattern,
// then scale the bytes to 0..1.
#include <array>

#include "engine/datasets.h"

namespace vantel {

namespace {

// v / 255 for every byte value, evaluated in extended precision and rounded
// to double once, as a per-pixel division would.
const std::array<double, 256>& scaled_bytes()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int v = 0; v < 256; ++v)
            values[static_cast<std::size_t>(v)] = static_cast<double>(static_cast<long double>(v) / 255.0L);
        return values;
    }();
    return table;
}

}  // namespace

void build_input_vector(const Pattern_datasets& datasets, const std::uint8_t* image_record, double* Y)
{
    const auto& scaled = scaled_bytes();
    Y[0] = 1.0;
    for (int m = 1; m <= Last_input; ++m) {
        const T_pair pixel = datasets.T_pattern_table[m];
        // An entry outside 1..28 (a missing or short T-pattern) feeds 0 and
        // never reads outside the record.
        const bool inside = pixel.row >= 1 && pixel.row <= Image_side && pixel.column >= 1 &&
                            pixel.column <= Image_side;
        const std::uint8_t v = inside ? image_record[Image_side * (pixel.column - 1) + pixel.row] : 0;
        Y[m] = scaled[v];
    }
}

}  // namespace vantel
