// The T-pattern file: a pair count, then one line of row and column for each
// input position. Read with a lenient text reader for integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"
#include "engine/engine_state.h"

namespace vantel {

// Reads whitespace-separated integers from a text held in memory, the way a
// text file of numbers is read: blank and control characters before a number
// are skipped; the number is the run of characters up to the next blank or
// control character, at most 32 of them, decimal with an optional sign; at
// the end of the text a number reads as 0.
class Integer_text_reader {
public:
    explicit Integer_text_reader(std::string text);
    Integer_text_reader(const Integer_text_reader&) = delete;  // token() points into the text
    Integer_text_reader& operator=(const Integer_text_reader&) = delete;

    // The next number, or nothing when its text is not a whole number of 32
    // bits (token() then holds that text).
    std::optional<std::int32_t> read_integer();
    // Skips the rest of the current line and its line break (CR LF, CR or LF).
    void skip_line();
    // From here to the end: how many lines hold anything but blanks and
    // control characters, and the first of them (1-based; 0 when none).
    int lines_with_text(int& first_line);

    // 1-based line on which the last number read began.
    int token_line() const { return token_line_; }
    // The text of the last number read.
    std::string_view token() const { return token_; }
    // True when the last read_integer() found the end of the text.
    bool hit_end() const { return hit_end_; }

private:
    void step_over_line_break();

    std::string text_;
    std::size_t at_ = 0;
    int line_ = 1;
    int token_line_ = 1;
    std::string_view token_;
    bool hit_end_ = false;
};

// What reading the T-pattern file found, for the message to the user.
struct T_pattern_report {
    std::int32_t count = 0;      // pairs the first line announces
    bool refused = false;        // count above 784: the table was left alone
    int first_bad_line = 0;      // 1-based line of the first pair outside 1..28, or 0
    T_pair first_bad_pair{};     // the row and column found on that line
    std::int32_t pairs_read = 0; // complete pairs before the text ran out
    bool ended_early = false;    // the text ended before `count` pairs
    int unread_lines = 0;        // lines with text after the last pair read
    int first_unread_line = 0;   // the first of them, or 0
    int invalid_line = 0;        // line of a number that is not a whole number, or 0:
    std::string invalid_text;    // its text; reading stopped there
};

// Reads the T-pattern text into table[1..count]. A count above 784 leaves
// the table untouched (report.refused). A text that is not a whole number
// ends the reading (report.invalid_line) after the entries before it have
// been stored, field by field.
T_pattern_report read_t_pattern(std::string text, T_pair (&table)[Last_input + 1]);

// The error of a T-pattern whose reading stopped at a text that is not a
// whole number, or empty. `shown_name` is the file as it was given or opened.
std::string t_pattern_error(const T_pattern_report& report, std::string_view shown_name);

// What becomes of a T-pattern that does not give every input a pixel of the
// image: the window goes on with it after its message; the computation (and
// so the command) refuses it.
enum class T_pattern_use { window_goes_on, refused };

// The one message that tells the user about a T-pattern that does not fill
// every input with a pixel of the image, or whose count and pair lines
// differ; empty when nothing is wrong. For a report with an invalid number
// see t_pattern_error. `shown_name` is the file as it was given or opened.
std::string t_pattern_warning(const T_pattern_report& report, std::string_view shown_name, T_pattern_use use);

}  // namespace vantel
