// Step 2: the MNIST-10 images and labels and the T-pattern, loaded once per
// process; and the input vector builder that turns an image record into Y.
#pragma once

#include <cstdint>

#include "engine/core/session.h"

namespace vantel {

void Button_Step_2Click(Session& session);

// Y[0] = 1.0 and Y[m] = (pixel named by T_pattern_table[m]) / 255.
void build_input_vector(const Pattern_datasets& datasets, const std::uint8_t* image_record,
                        double* Y);

}  // namespace vantel
