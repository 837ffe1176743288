// The texts of the window's own message boxes, for every handler that shows
// one and for the command, which reports the same cases.
#pragma once

#include <string_view>

namespace vantel {

inline constexpr std::string_view Please_load_data = "Please load data!";          // START or step 1 without 5 lines of data
inline constexpr std::string_view File_is_not_correct = "File is not correct";     // an opened file of fewer than 3 lines
inline constexpr std::string_view File_not_correct = "File not correct";           // the all-columns batch without 2 lines
inline constexpr std::string_view Extract_first = "Please extract a series first (Show or Step 1).";  // step 4 before any series
inline constexpr std::string_view Datasets_loading_message = "Please wait until the MNIST-10 datasets have loaded.";

}  // namespace vantel
