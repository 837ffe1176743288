// Whole numbers and lists of them as options give them: "7", "-3",
// "1,3,5-7".
#pragma once

#include <string>
#include <vector>

namespace vantel::cli {

enum class Number { ok, not_number, out_of_range };

// A whole number within the range of int, written plainly: an optional '-'
// and digits, nothing around them.
Number whole_number(const std::string& text, int& value);

// "1,3,5-7": whole numbers and ranges; nothing on a malformed list.
bool parse_number_list(const std::string& text, std::vector<int>& numbers);

}  // namespace vantel::cli
