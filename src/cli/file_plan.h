// `vantel FILE...` before any run: the files given, read and checked, and
// the runs planned on them.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/data_runs.h"
#include "cli/job_factory.h"
#include "cli/options.h"

namespace vantel::cli {

struct Given_files {
    std::vector<Data_file> files;
    // Per file, the table that cannot be read again (standard input's).
    std::vector<std::shared_ptr<const Data_table>> kept_tables;
};

// Reads every file given and checks that the options fit it; each file
// with a problem is left out, its problem said in `problems`.
Given_files read_given_files(const Options& options, std::vector<std::string>& problems);

// The runs of every file that are not in `done` (the runs of a resumed
// output). Says how many windows each file gives, and how many runs a
// resumed output already holds.
Job_factory plan_runs(const Options& options, const Given_files& given, const std::set<std::string>& done);

}  // namespace vantel::cli
