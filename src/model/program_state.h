// Program_state: the window's one record, allocated once, zero-filled
// (std::make_unique<Program_state>()), living until the process ends. It
// holds the engine's records (engine/engine_state.h), which the step
// handlers hand to the kernels, beside what only the window keeps: the
// loaded data file and its series, the program folder and the clocks of
// the time labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "engine/engine_state.h"

namespace vantel {

struct Series_input {
    // All lines of the loaded data file; absent until a file has been loaded.
    std::optional<std::vector<std::string>> Data_lines;
    // The loaded file's name without its folder, which names the batch
    // result file (Label11 shows it, with a note when the file is not
    // plain text).
    std::string File_name;
    std::int32_t Preview_count = 0;  // 5 or more: a usable series exists
    std::int32_t Column_count = 0;
    std::int32_t Column_index = 0;   // 1-based column of the last extraction
    std::int32_t N = 0;              // 5..19625 once an extraction has run
    double xn[Max_N + 1] = {};       // xn[1..N]: the series, the rest 0
};

// The engine's run counters and what the window adds to them.
struct Window_run : Run_control {
    bool Stop_all_files = false;     // STOP during the all-files batch ends it after the file
    Date_time Run_start = 0;         // START's click, for Label_Time
    Date_time Last_time_update = 0;  // the last time Label_Time was written
    double One_second = 0;           // one second in date-time units
    std::string App_dir;             // folder of the executable, ending in '/'
    // START's learning curve: the value after each completed epoch, made
    // only while a START whose window asked for it runs (a test per epoch).
    bool Curve_wanted = false;
    std::vector<double> Learning_curve;
};

struct Program_state {
    Series_input series;
    Pattern_datasets datasets;
    Vedero_network net;
    Window_run run;
};

}  // namespace vantel
