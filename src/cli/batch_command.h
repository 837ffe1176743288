// `vantel --batch DIR`: what "Open All Files" does for a data folder,
// without the window.
#pragma once

#include <string>

#include "cli/options.h"

namespace vantel::cli {

// Computes and writes every file's result files; returns the exit status.
int run_batch(const Options& options, const std::string& program_dir);

}  // namespace vantel::cli
