// The jobs of data files, for `vantel FILE...` and `vantel --batch` alike:
// a job for every series (column and start line) and fill method of a file,
// whose epoch counts share one training.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "cli/data_runs.h"
#include "engine/rescaling.h"
#include "series/series_reader.h"

namespace vantel::cli {

// A data file on disk as its jobs know it: its table's size and warnings,
// and what tells a later reading that the file is still the one planned.
Data_file describe_file(const std::string& path, const Data_table& table);

// The runs of every series of a file.
struct Series_plan {
    bool all_columns = false;
    std::vector<int> columns;  // when not all_columns
    std::vector<int> methods;
    std::string n;             // as typed; corrected as Show corrects it, for the lines from the start
    int start = 1;
    int window = 0;            // 0: one series per column; else every window of this many values that fits
    int step = 0;              // 0: the window's length
    Rescale rescale = Rescale::none;
    std::vector<int> epochs;
    bool relative_change = false;  // exactly two counts: the second record gets the change
    std::vector<int> scales = {1};
    Surrogate_options surrogates = {};
};

// The start lines of a file's series: the plan's start, or every window
// that fits in its `lines`.
std::vector<int> series_starts(const Series_plan& plan, std::size_t lines);

class Job_factory {
public:
    // `done`: the runs already in a resumed output, whose records are not
    // wanted again.
    explicit Job_factory(const std::set<std::string>* done = nullptr) : done_(done) {}

    // Adds the jobs of the file `description`, the `file`th of the run's
    // files: column by column, method by method, start by start, scale by
    // scale. A job none
    // of whose records is wanted is left out.
    void add_file(std::size_t file, const Data_file& description, const Series_plan& plan);

    const std::vector<Series_job>& jobs() const { return jobs_; }
    std::size_t planned() const { return planned_; }  // records, in the run order
    std::size_t wanted() const { return wanted_; }    // records to compute

private:
    const std::set<std::string>* done_;
    std::vector<Series_job> jobs_;
    std::size_t planned_ = 0;
    std::size_t wanted_ = 0;
};

}  // namespace vantel::cli
