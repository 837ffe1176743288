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

#include "cli/data_runs.h"
#include "cli/options.h"
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
// "1 run", "3 runs".
std::string plural(std::size_t count, const char* one, const char* many);

// The datasets' files: those of --mnist and --tpattern, else the folder
// `mnist_dir` and the program folder's T-pattern.
Dataset_paths dataset_paths(const Options& options, const std::string& program_dir, const std::string& mnist_dir);

// Loads the datasets with every thread; nothing (after saying why) when a
// file is damaged, which is bad input too.
std::shared_ptr<const Datasets> load_datasets(const Dataset_paths& paths, int threads);

// The jobs to compute and where their records go: jobs[j]'s records into
// records[j], its file's table read through `tables`. A job whose network
// cannot be made gets records with that problem.
struct Job_run {
    Network_pool& networks;
    int threads = 1;
    const std::vector<Data_file>& files;
    const std::vector<Series_job>& jobs;
    Table_cache& tables;
    std::vector<std::vector<Run_record>>& records;
    bool strict = false;  // a series with a warning is refused
};

// Computes every job with the progress line and Ctrl-C, calling `finished`
// with each job as it ends (in the order they end), its records set (every
// one with the problem when the job could not run). `finished` returns the
// runs it counts done; returns the runs done in all. The first time it sees
// the stop flag it says that the program is stopping.
std::size_t run_jobs(const Job_run& run, Progress_line& progress,
                     const std::function<std::size_t(std::size_t job)>& finished);

}  // namespace vantel::cli
