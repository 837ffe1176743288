// The texts of the window's own message boxes; those the command reports
// too are in batch/messages.h.
#pragma once

#include <string_view>

#include "batch/messages.h"

namespace vantel {

inline constexpr std::string_view Extract_first = "Please extract a series first (Show or Step 1).";  // step 4 before any series
inline constexpr std::string_view Datasets_loading_message = "Please wait until the MNIST-10 datasets have loaded.";

}  // namespace vantel
