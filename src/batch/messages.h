// The texts of the message boxes that the window and the command both show
// for the same cases of a data file.
#pragma once

#include <string_view>

namespace vantel {

inline constexpr std::string_view Please_load_data = "Please load data!";          // START or step 1 without 5 lines of data
inline constexpr std::string_view File_is_not_correct = "File is not correct";     // an opened file of fewer than 3 lines
inline constexpr std::string_view File_not_correct = "File not correct";           // the all-columns batch without 2 lines

}  // namespace vantel
