#include "cli/driving.h"

#include <omp.h>

#include "base/program_folder.h"

namespace vantel::cli {

namespace {

// Short, so that a Ctrl-C is answered within a fraction of a second.
constexpr auto Poll_interval = std::chrono::milliseconds(100);
constexpr auto Progress_interval = std::chrono::milliseconds(500);

}  // namespace

int report_problems(const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems) say(problem);
    return Bad_input;
}

void say(const std::string& text)
{
    // Every line of a text of several gets the prefix.
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        std::fprintf(stderr, "vantel: %s\n", text.substr(from, end - from).c_str());
    std::fprintf(stderr, "vantel: %s\n", text.substr(from).c_str());
}

std::string plural(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

Dataset_paths dataset_paths(const Options& options, const std::string& program_dir, const std::string& mnist_dir)
{
    Dataset_paths paths;
    paths.mnist_dir = options.mnist_dir.empty() ? mnist_dir : options.mnist_dir;
    paths.t_pattern_file =
        options.t_pattern_file.empty() ? default_t_pattern_file(program_dir) : options.t_pattern_file;
    return paths;
}

std::shared_ptr<const Datasets> load_datasets(const Dataset_paths& paths, int threads)
{
    omp_set_num_threads(threads);
    try {
        return Datasets::load(paths);
    } catch (const std::exception& error) {
        say(error.what());
        return nullptr;
    }
}

std::size_t run_jobs(const Job_run& run, Progress_line& progress,
                     const std::function<std::size_t(std::size_t job)>& finished)
{
    std::atomic<std::size_t> epochs_trained{0};
    const Job_runs runs(run.jobs);
    std::vector<std::vector<std::vector<Run_record>>> variants(run.jobs.size());
    std::vector<std::size_t> runs_left(run.jobs.size());
    for (std::size_t j = 0; j < run.jobs.size(); ++j) {
        variants[j].resize(run.jobs[j].runs());
        runs_left[j] = run.jobs[j].runs();
    }
    const Job_run_plan plan{run.files, run.jobs, runs};
    Run_pool pool(run.networks, runs.size(), run.threads,
                  series_job_runner(plan, run.tables, variants, run.strict, &stop_requested(), &epochs_trained),
                  stop_requested());
    std::size_t done = 0;
    bool stopping = false;
    auto last_shown = std::chrono::steady_clock::now() - Progress_interval;
    do {
        const std::vector<std::size_t> collected = pool.collect(Poll_interval);
        for (const std::size_t r : collected) {
            const auto [j, variant] = runs.place(r);
            if (!pool.failure(r).empty())
                variants[j][variant] =
                    job_records(*run.networks.datasets(), run.files[run.jobs[j].file], run.jobs[j], pool.failure(r));
            // A job is over when its series and every surrogate are.
            if (--runs_left[j] > 0) continue;
            run.records[j] = with_surrogates(run.jobs[j], std::move(variants[j]));
            done += finished(j);
        }
        if (stop_requested().load() && !stopping) {
            stopping = true;
            progress.clear();
            say("stopping: the runs in progress end at their next image; finished runs are kept");
        }
        const auto now = std::chrono::steady_clock::now();
        if (!collected.empty() || now - last_shown >= Progress_interval) {
            progress.show({done, epochs_trained.load()});
            last_shown = now;
        }
    } while (!pool.over());
    progress.clear();
    return done;
}

}  // namespace vantel::cli
