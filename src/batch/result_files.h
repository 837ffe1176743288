// The result files of the batches: their names, and writing them so that a
// result is never left half written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/date_time.h"

namespace vantel {

// App_dir + "Results/last_result_" + "mm-dd-yyyy-hhnnss" of `when` + ".txt".
std::string run_log_path(const std::string& app_dir, Date_time when);

// App_dir + "DATA_RESULT/" + the data file's name + "_Result", with every
// ".txt" of the name removed (case-sensitive, one pass from the left; the
// folders keep theirs), then ".txt" appended: "series1.txt" gives
// "series1_Result.txt", "DATA.TXT" gives "DATA.TXT_Result.txt".
std::string batch_result_path(const std::string& app_dir, const std::string& data_file_name);

// (second - first) / second, written like a published value. A second value
// of 0 leaves the change undefined; it is then "n/a", so that a reader of a
// result never takes INF or NAN for a measurement.
std::string relative_change_text(double first, double second, char decimal_separator);

// A line of the batch result file: the first and the second published value
// and their relative change, "first second  change", with every "." replaced
// by ",". A value that was not published stays empty in the line, and so
// does the change: the file shows what happened instead of a made-up number.
std::string batch_result_line(const std::string& first, const std::string& second,
                              char decimal_separator);

// Writes the lines, each ended by CR LF, to `path`, replacing the file there.
// A missing folder is created. The text goes to a temporary file in the same
// folder, which then takes the target's name in one step, so the target holds
// either the old contents or all of the new ones, never a part.
// Returns nothing on success, or the text
//   Cannot write file "<path>". <the system's reason>
std::optional<std::string> save_lines(const std::string& path,
                                      const std::vector<std::string>& lines);

// As save_lines, for text that is written as it is.
std::optional<std::string> save_text(const std::string& path, const std::string& text);

// The file that writing `path` changes: the end of its chain of symbolic
// links (which may not exist yet), or the path itself.
std::filesystem::path written_path(const std::filesystem::path& path);

// The run log of a batch that no window shows: written as save_lines writes,
// under the run-log name of the moment it is written, but never over a run
// log that exists. Batches finishing within one second, in this process or
// in others writing into the same folder, would otherwise keep only the
// last one's log; a taken name makes this one wait for the next second's.
// Returns the path written, or the failure text of save_lines.
struct Run_log_outcome {
    std::string path;
    std::optional<std::string> failure;
};
Run_log_outcome save_new_run_log(const std::string& app_dir, const std::vector<std::string>& lines);

}  // namespace vantel
