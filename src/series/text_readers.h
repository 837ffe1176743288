// The two lenient text readers: the number parser for data-file fields and
// the integer reader for the numeric edit fields (N, column, epochs).
#pragma once

#include <cstdint>
#include <string_view>

namespace vantel {

// Reads one data-file field as a double. "." and "," both stand for the
// decimal separator; anything that is not a number gives 0. Throws
// Vantel_error("Floating point overflow") for a value beyond the double range.
double parse_number(std::string_view field);

// Reads an edit field's text as an integer: optional sign, decimal digits or
// "$"/"x"/"0x" hexadecimal; never fails (see the implementation for the rules
// on trailing characters and out-of-range values).
std::int32_t read_integer(std::string_view text);

}  // namespace vantel
