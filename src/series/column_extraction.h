// Cutting a series out of a data file's lines, as "Show" does: N and the
// column corrected to what the file allows, then one number per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantel {

// N as typed, corrected: at most the file's lines and 19625, at least 5.
std::int32_t corrected_n(std::int32_t typed, std::size_t line_count);

// The column as typed, corrected: at most the first line's column count,
// at least 1.
std::int32_t corrected_column(std::int32_t typed, std::int32_t column_count);

// The value of a column in a line: the field text read by the number
// parser (what is not a number reads as 0; a number beyond the double range
// throws "Floating point overflow").
double column_value(std::string_view line, std::int32_t column);

}  // namespace vantel
