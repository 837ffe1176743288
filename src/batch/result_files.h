// The result files of the batches: their names, and writing them so that a
// result is never left half written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"

namespace vantel {

// App_dir + "Results/last_result_" + "mm-dd-yyyy-hhnnss" of `when` + ".txt".
std::string run_log_path(const std::string& app_dir, Date_time when);

// App_dir + "DATA_RESULT/" + the data file's name + "_Result", with every
// ".txt" of that whole path removed (case-sensitive, one pass from the left),
// then ".txt" appended: "series1.txt" gives "series1_Result.txt", "DATA.TXT"
// gives "DATA.TXT_Result.txt".
std::string batch_result_path(const std::string& app_dir, const std::string& data_file_name);

// Writes the lines, each ended by CR LF, to `path`, replacing the file there.
// A missing folder is created. The text goes to a temporary file in the same
// folder, which then takes the target's name in one step, so the target holds
// either the old contents or all of the new ones, never a part.
// Returns nothing on success, or the text
//   Cannot write file "<path>". <the system's reason>
std::optional<std::string> save_lines(const std::string& path,
                                      const std::vector<std::string>& lines);

}  // namespace vantel
