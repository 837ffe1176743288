// What the command's two modes share: exit statuses, problem lines, loading
// the datasets, and driving a pool of runs to its end with the progress
// line and Ctrl-C.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/progress.h"
#include "engine/run_pool.h"
#include "engine/vantel.h"

namespace vantel::cli {

constexpr int Bad_input = 2;
constexpr int Some_failed = 1;
constexpr int Interrupted = 130;  // as a shell reports a process ended by Ctrl-C

// One line per problem on standard error; returns Bad_input.
int report_problems(const std::vector<std::string>& problems);
// "vantel: <text>" on standard error.
void say(const std::string& text);

// Loads the datasets with every thread; nothing (after saying why) when a
// file is damaged, which is bad input too.
std::shared_ptr<const Datasets> load_datasets(const Dataset_paths& paths, int threads);

// Runs the pool to its end, calling `finished` with each run collected in
// the order they finish, and `done` for the progress line. The first time
// it sees the stop flag it says that the program is stopping.
void drive(Run_pool& pool, Progress_line& progress, const std::function<void(std::size_t run)>& finished,
           const std::function<Work_done()>& done);

}  // namespace vantel::cli
