#include "engine/input_vector.h"

#include "engine/extended_arithmetic.h"

namespace vantel {

const std::array<double, 256>& scaled_pixels()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int v = 0; v < 256; ++v)
            values[static_cast<std::size_t>(v)] = static_cast<double>(static_cast<Extended>(v) / 255.0L);
        return values;
    }();
    return table;
}

void build_input_vector(const Pattern_datasets& datasets, const std::uint8_t* image_record, double* Y)
{
    const auto& scaled = scaled_pixels();
    Y[0] = 1.0;
    for (int m = 1; m <= Last_input; ++m) {
        const T_pair pixel = datasets.T_pattern_table[m];
        // Never reads outside the record.
        const std::uint8_t v = inside_image(pixel) ? image_record[Image_side * (pixel.column - 1) + pixel.row] : 0;
        Y[m] = scaled[v];
    }
}

}  // namespace vantel
