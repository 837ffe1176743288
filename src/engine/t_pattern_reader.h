// The T-pattern file: a pair count, then one line of row and column for each
// input position. Read with a lenient text reader for integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "engine/engine_state.h"

namespace vantel {

// Reads whitespace-separated integers from a text held in memory, the way a
// text file of numbers is read: blank and control characters before a number
// are skipped; the number is the run of characters up to the next blank or
// control character, at most 32 of them, decimal with an optional sign; at
// the end of the text a number reads as 0. Anything else throws
// Vantel_error("Invalid numeric input").
class Integer_text_reader {
public:
    explicit Integer_text_reader(std::string text);

    std::int32_t read_integer();
    // Skips the rest of the current line and its line break (CR LF, CR or LF).
    void skip_line();

    // 1-based line on which the last number read began.
    int token_line() const { return token_line_; }
    // True when the last read_integer() found the end of the text.
    bool hit_end() const { return hit_end_; }

private:
    void step_over_line_break();

    std::string text_;
    std::size_t at_ = 0;
    int line_ = 1;
    int token_line_ = 1;
    bool hit_end_ = false;
};

// What reading the T-pattern file found, for the message to the user.
struct T_pattern_report {
    std::int32_t count = 0;      // pairs the first line announces
    bool refused = false;        // count above 784: the table was left alone
    int first_bad_line = 0;      // 1-based line of the first pair outside 1..28, or 0
    std::int32_t pairs_read = 0; // complete pairs before the text ran out
    bool ended_early = false;    // the text ended before `count` pairs
};

// Reads the T-pattern text into table[1..count]. A count above 784 leaves
// the table untouched (report.refused). An invalid number throws after the
// entries before it have been stored, field by field.
T_pattern_report read_t_pattern(std::string text, T_pair (&table)[Last_input + 1]);

// The one message that tells the user about a T-pattern that does not fill
// every input with a pixel of the image; empty when nothing is wrong.
// `shown_name` is the file's name as the user knows it.
std::string t_pattern_warning(const T_pattern_report& report, std::string_view shown_name);

}  // namespace vantel
