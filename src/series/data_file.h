// Data files: reading a whole file into lines, the column count of
// a line and the field text of one column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "series/text_kind.h"

namespace vantel {

// Limits of ours, so that an absurd file gives a message instead of
// exhausting memory: a data file may hold at most 1 GiB (1073741824 bytes;
// a regular file is refused by its size before it is read, anything else,
// such as a pipe or a device, when more is read before a NUL byte ends the
// text), at most 10000000 lines and at most 16 MiB (16777216 bytes) in one
// line. A file beyond a limit is refused with a Vantel_error naming it, for
// example
//   File "/data/big.txt" is too large: a data file may hold at most
//   1073741824 bytes (1 GiB)
//   File "/data/wide.txt" line 3 is too long: a line of a data file may
//   hold at most 16777216 bytes (16 MiB)
// (shown with a full stop appended by the general error display when the
// message does not end in ")"). Held in memory, the lines take about 1.5
// times the file's size for lines of some 100 bytes and up to about 4 times
// for very short ones.
inline constexpr std::uint64_t Max_data_file_bytes = std::uint64_t{1} << 30;
inline constexpr std::size_t Max_data_file_lines = 10'000'000;
inline constexpr std::size_t Max_data_line_bytes = std::size_t{1} << 24;

// Splits the text of a data file into lines: lines end with CR LF, CR or LF;
// a last line without a line break counts, a final line break adds no empty
// line; a NUL byte ends the text. A UTF-8 byte-order mark (EF BB BF) at the
// very start is no part of the first line. Throws Vantel_error when more
// than max_lines lines result or a line is longer than Max_data_line_bytes
// (`name` is the file named in the message).
std::vector<std::string> split_data_text(std::string_view bytes,
                                         std::size_t max_lines = Max_data_file_lines,
                                         std::string_view name = "");

// A data file's lines with what reading it found out about the file. The
// lines are the same whatever the kind: the window opens any file.
struct Data_text {
    std::vector<std::string> lines;
    Text_kind kind = Text_kind::plain;  // from the file's first bytes
    std::size_t nul_line = 0;           // the line (from 1) on which a NUL byte ended
                                        // the text; 0 when none did
};

// split_data_text, with the kind of the text and where a NUL byte ended it.
Data_text examine_data_text(std::string_view bytes, std::size_t max_lines = Max_data_file_lines,
                            std::string_view name = "");

// How much of a data file is read at a time.
inline constexpr std::size_t Data_file_chunk_bytes = std::size_t{1} << 20;

// Reads a whole data file into lines (as split_data_text). Throws
// Vantel_error: `Cannot open file "<full path>". <system reason>` when it
// cannot be opened, `Cannot read file "<full path>". <system reason>` when
// reading fails (a folder, say), the messages of the limits above, and
// `File "<full path>" does not fit into the memory available` when the
// machine runs out of memory while reading it.
// `chunk_bytes` (at least 1) exists so that tests can put line breaks across
// two reads without writing megabytes.
std::vector<std::string> read_data_file(const std::string& path,
                                        std::size_t chunk_bytes = Data_file_chunk_bytes);

// read_data_file, with the kind of the file and where a NUL byte ended its
// text, as examine_data_text finds them in the same bytes. The first
// Text_kind_head_bytes bytes are read before a NUL byte among them ends the
// reading, so that they can tell what the file is.
Data_text read_data_text(const std::string& path, std::size_t chunk_bytes = Data_file_chunk_bytes);

// The path made absolute, as the messages of the readers name a file; the
// path itself when that fails.
std::string full_path(const std::string& path);

// Columns of a line: its tab count, plus 1 when at least one character
// follows the last tab; without tabs 1 for a non-empty line, 0 for an empty.
std::int32_t column_count(std::string_view line);

// The field text of column c (c >= 1): "0" for
// an empty line; the text between the (c-1)-th and the c-th tab, or up to the
// end of the line when there is no c-th tab; the whole line when it has
// fewer than c - 1 tabs. The view points into `line` (or at a static "0").
std::string_view field_text(std::string_view line, std::int32_t column);

}  // namespace vantel
