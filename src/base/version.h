// The program's version, which results carry so that a number can be traced
// to the program that computed it.
#pragma once

#include <string_view>

namespace vantel {

inline constexpr std::string_view Program_version = "1.0.0.4";

}  // namespace vantel
