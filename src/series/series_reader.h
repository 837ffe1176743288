// Reading series from data files for the callers that are not the window
// (the command, a scripting module): the values are bit for bit those of the
// window's "Show", and everything that the lenient rules turn into a quiet 0
// or a quiet guess is said in a warning.
//
// A file becomes a Data_table: its lines as the window reads them, its
// column count (of the first line, as the window counts it) and warnings on
// the file as a whole (its separators, lines of differing field counts).
// A file that is not plain text is refused there. A column of a table
// becomes a Column_read: the values, and which fields were not numbers.
// Implemented in number_text.cpp, table_layout.cpp and series_reader.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "series/data_file.h"

namespace vantel {

// True exactly when `field` has the form that parse_number accepts (see
// text_readers.h) with at least one digit before the exponent: then
// parse_number gives its value (or the overflow error). Every other text
// parses to 0 (or -0), so: "0", "-0", "0.0", "0,", ",5", " 1e5 ", "1e400" are
// numbers; "", " ", "nan", "inf", "abc", "0x10", "1.5.5", "1e", "1\t" are not.
// A lone separator (".", "-,", ".e5") has the parser's form but no digit:
// the parser reads it as 0, and it is not a number here.
bool is_number_text(std::string_view field);

struct Data_table {
    std::string name;                   // the file as the caller named it (a path, or "-")
    std::vector<std::string> lines;     // as read_data_file reads them
    std::int32_t column_count = 0;      // column_count of the first line, 0 without lines
    std::vector<std::string> warnings;  // on the file as a whole, see layout_warnings
};

// Reads the file at `path` into a table. Throws the errors of
// read_data_file, and a Vantel_error naming the file (its full path) when
// it is not plain text:
//   File "<full path>" holds a NUL byte at line <L>: it is not plain text from there on
//   File "<full path>" is UTF-16 text; save it as UTF-8 or ASCII
//   File "<full path>" is not a text file
Data_table read_data_table(const std::string& path);

// A table of text already read, such as standard input split with
// examine_data_text; refused as read_data_table refuses, naming `name`.
Data_table data_table(std::string name, Data_text text);

// A table of lines already read, taken as plain text.
Data_table data_table(std::string name, std::vector<std::string> lines);

// The warnings on a file as a whole, from a sample of its lines (the first
// Layout_head_lines and the last Layout_tail_lines), so that a file of
// millions of lines is judged in a moment:
// - when most lines examined hold no tab but split into two or more numbers
//   at ";", at "," (the line itself not being one number, "0,5" is one) or
//   at runs of spaces, the separator the file seems to use:
//     data.txt seems to separate its columns by ";": columns are separated
//     by tabs, so each line is read as one column
//   (by ";", by "," or by blanks);
// - when lines examined have more or fewer fields (as column_count counts
//   them) than the first line, how many of each and the first of each:
//     data.txt: the first line has 3 fields, 12 lines have fewer (first at
//     line 7) and 2 have more (first at line 40)
//   (singular: "1 field", "1 line has fewer (at line 7)"; either part may be
//   missing; when the file has more lines than the sample, "; <n> of its <m>
//   lines were examined" follows).
inline constexpr std::size_t Layout_head_lines = 10'000;
inline constexpr std::size_t Layout_tail_lines = 1'000;
std::vector<std::string> layout_warnings(std::string_view name, const std::vector<std::string>& lines);

struct Column_read {
    std::int32_t column = 0;
    std::size_t first_line = 0;             // the line (from 1) of values[0]
    std::vector<double> values;             // parse_number(field_text(line, column))
    std::size_t not_numbers = 0;            // fields that are not number texts, empty lines included
    std::size_t first_not_number_line = 0;  // from 1; 0 when every field is a number
    std::string first_not_number_text;      // that field's text ("" for an empty line)
    // Lines too short to hold the column (fewer tabs than it needs): the
    // column takes the whole line there.
    std::size_t missing_fields = 0;
    std::size_t first_missing_field_line = 0;  // from 1; 0 when every line holds the column
};

// The values of lines first_line .. first_line + count - 1 (from 1) of the
// column (from 1), exactly as "Show" computes them, and the fields among
// them that are not numbers. An empty line reads as "0" there; it counts
// as not a number here. A field beyond the double range throws a
// Vantel_error such as
//   data.txt line 7 column 2: "1e400": Floating point overflow
// Throws std::out_of_range when the column is below 1 or the lines are not
// all in the table.
Column_read read_column(const Data_table& table, std::int32_t column, std::size_t first_line,
                        std::size_t count);

// The warning on the fields of a column read as 0 because they are not
// numbers, nothing when there are none:
//   data.txt column 2: 3 of 2000 values are not numbers (first at line 5: "nan"), read as 0
//   data.txt column 2: 1 of 2000 values is not a number (at line 5: "nan"), read as 0
// The field's text is cut after 40 characters with "...", and a control
// byte in it is written as \t or \xNN.
std::optional<std::string> not_number_warning(const Data_table& table, const Column_read& read);

// Every warning on a column read: the not-number warning, and for lines
// too short to hold the column
//   data.txt column 3: 12 of 2000 lines have no field 3 (first at line 7); the whole line was read there
//   data.txt column 3: 1 of 2000 lines has no field 3 (at line 7); the whole line was read there
std::vector<std::string> column_warnings(const Data_table& table, const Column_read& read);

// What makes a column read no series: none of its fields is a number, so
// every value would be 0.
//   data.txt column 2: none of its 2000 fields is a number; it holds no series
std::optional<std::string> column_problem(const Data_table& table, const Column_read& read);

}  // namespace vantel
