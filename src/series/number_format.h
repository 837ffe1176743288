// Number texts the window shows.
#pragma once

#include <string>

namespace vantel {

// The general number format of the series preview: at most 15 significant
// digits, no trailing zeros, fixed notation for 0 and for magnitudes in
// [0.0001, 1e15), otherwise scientific ("1E-5", "1.5E20").
std::string format_general(double value, char decimal_separator);

// The value text: rounded to at most 4 significant digits, then to 4
// decimals, written with exactly 4 decimals ("0.8765", "1.0000", "-0.1250").
std::string format_value_text(long double value, char decimal_separator);

}  // namespace vantel
