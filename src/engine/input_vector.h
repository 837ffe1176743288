// The input vector builder: an image record gathered through the T-pattern
// and scaled to 0..1.
#pragma once

#include <array>
#include <cstdint>

#include "engine/engine_state.h"

namespace vantel {

// v / 255 for every byte value v, evaluated in extended precision and
// rounded to double once, as a division per pixel would be.
const std::array<double, 256>& scaled_pixels();

// Y[0] = 1.0 and Y[m] = (pixel named by T_pattern_table[m]) / 255; an entry
// outside 1..28 (a missing or short T-pattern) feeds 0.
void build_input_vector(const Pattern_datasets& datasets, const std::uint8_t* image_record, double* Y);

// Whether a T-pattern entry names a pixel of the image.
inline bool inside_image(T_pair p)
{
    return p.row >= 1 && p.row <= Image_side && p.column >= 1 && p.column <= Image_side;
}

}  // namespace vantel
