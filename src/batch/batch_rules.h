// The rules of the batches, for the window's two batches and the command's
// `vantel --batch` alike; only the driving differs (the window triggers its
// buttons and reads the value back from Edit_Vantel, the command hands the
// runs to a pool of networks).
//
// The all-files batch takes every data file of a folder. A file whose first
// line is exactly "TURBO" is not computed: with 1 or 2 lines it gets the
// placeholder result file, with more nothing. A file of 1 or 2 lines without
// the marker is "File is not correct" and is still given to the all-columns
// batch, which refuses a file of a single line ("File not correct") and
// computes the others; START refuses every run of a file with fewer than 5
// lines ("Please load data!"), which ends the batch after its first column
// with a line of empty values.
//
// The all-columns batch computes each column twice, with the epoch counts
// of init lines 0 and 1, and writes one line per column; a column that did
// not get both values ends it, as do the last column and a STOP.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

inline constexpr std::string_view Turbo_marker = "TURBO";
// The one line of the placeholder result file.
inline constexpr std::string_view Placeholder_result_line = "0 0  0";
inline constexpr std::size_t Max_preview_lines = 10;
// Files of at most this many lines are not previewed by the all-files batch.
inline constexpr std::size_t Max_short_file = 2;
// The all-columns batch refuses a file with fewer preview lines.
inline constexpr std::size_t Min_batch_preview = 2;

// The first line is exactly the marker: byte for byte, no trimming.
bool is_turbo(const std::vector<std::string>& lines);

// How the all-files batch handles a data file of these lines.
struct Batch_file_plan {
    bool placeholder = false;     // write the placeholder result file, nothing else
    bool not_correct = false;     // "File is not correct" (the batch goes on with it)
    bool refused = false;         // the all-columns batch refuses it: "File not correct"
    bool computed = false;        // the all-columns batch runs its columns
    bool runs_refused = false;    // ... and START refuses each run: "Please load data!"
};
Batch_file_plan plan_batch_file(const std::vector<std::string>& lines);

// The all-columns batch goes on after column c (of column_count) when both
// runs published a value, c is not the last column and no STOP came.
bool batch_goes_on(std::string_view first, std::string_view second, std::int32_t c, std::int32_t column_count,
                   bool stop_requested);

}  // namespace vantel
