// `vantel FILE...`: the runs of data files, each record as START computes
// it, written as the runs finish.
#pragma once

#include <string>

#include "cli/options.h"

namespace vantel::cli {

// Plans, computes and writes every run; returns the exit status.
int run_files(const Options& options, const std::string& program_dir);

}  // namespace vantel::cli
