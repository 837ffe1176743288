// What `vantel FILE...` says and writes as its runs finish, and at the end.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "cli/data_runs.h"
#include "cli/progress.h"
#include "cli/record_output.h"

namespace vantel::cli {

class File_report {
public:
    File_report(Record_output& output, Progress_line& progress) : output_(output), progress_(progress) {}

    // A finished job's wanted records: each written, each warning said once
    // in all, each run without a value named with its problem. Returns the
    // runs done (not stopped).
    std::size_t take(const Series_job& job, const std::vector<Run_record>& records);

    // Finishes the output (`single_value`: the text is the value alone;
    // `with_start`: the text table has the start column) and returns the
    // exit status; after a stop, names the runs it cut short.
    int finish(bool single_value, bool with_start, std::size_t done, std::size_t wanted);

private:
    Record_output& output_;
    Progress_line& progress_;
    std::set<std::string> warned_;
    std::vector<std::string> stopped_;
    bool failed_ = false;
};

}  // namespace vantel::cli
