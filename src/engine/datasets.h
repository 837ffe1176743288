// Step 2: the MNIST-10 images and labels and the T-pattern, loaded once per
// process; and the input vector builder that turns an image record into Y.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/session.h"

namespace vantel {

void Button_Step_2Click(Session& session);

// The folder step 2 reads the four MNIST-10 files from, as init line 5 names
// it at this moment; file names are appended to it as they are.
std::string mnist_folder(const Session& session);

// Shown when an action needs the datasets while step 2 is still loading them
// (a load started from the step 2 button keeps the window responsive).
inline constexpr std::string_view Datasets_loading_message =
    "Please wait until the MNIST-10 datasets have loaded.";

// Y[0] = 1.0 and Y[m] = (pixel named by T_pattern_table[m]) / 255.
void build_input_vector(const Pattern_datasets& datasets, const std::uint8_t* image_record,
                        double* Y);

}  // namespace vantel
