#include "python/series_runs.h"

#include <atomic>
#include <exception>
#include <new>
#include <optional>

#include "engine/run_arguments.h"

namespace vantel::python {

namespace {

std::string series_name(std::size_t index, std::size_t count)
{
    return count > 1 ? "series " + std::to_string(index) + ": " : std::string();
}

void check_arguments(const Series_runs& runs)
{
    if (runs.series.empty()) throw Vantel_error("no series given");
    if (const std::string problem = runs_problem(runs.methods, runs.epochs); !problem.empty())
        throw Vantel_error(problem);
    if (const std::string problem = threads_problem(runs.threads); !problem.empty()) throw Vantel_error(problem);
    for (std::size_t s = 0; s < runs.series.size(); ++s)
        if (const std::string problem = series_problem(runs.series[s]); !problem.empty())
            throw Vantel_error(series_name(s, runs.series.size()) + problem);
}

}  // namespace

std::vector<Run_result> compute_series_runs(Network_pool& networks, const Series_runs& runs,
                                            const std::function<bool(const Runs_progress&)>& poll)
{
    check_arguments(runs);
    const std::size_t series_count = runs.series.size();
    // Rescaled before any training, so that a constant series is refused
    // before a single run has started.
    std::vector<std::vector<double>> scaled;
    std::vector<std::span<const double>> used = runs.series;
    if (runs.rescale != Rescale::none) {
        scaled.reserve(series_count);
        for (std::size_t s = 0; s < series_count; ++s) {
            try {
                scaled.push_back(rescaled(runs.series[s], runs.rescale));
            } catch (const Vantel_error& error) {
                throw Vantel_error(series_name(s, series_count) + error.what());
            }
            used[s] = scaled.back();
        }
    }

    const std::size_t methods = runs.methods.size();
    const std::size_t counts = runs.epochs.size();
    const std::size_t jobs = series_count * methods;
    int largest = 0;
    for (const int e : runs.epochs) largest = std::max(largest, e);

    std::vector<Run_result> results(jobs * counts);
    std::vector<std::exception_ptr> errors(jobs);
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> epochs_done{0};
    Runs_progress progress;
    progress.runs = results.size();
    progress.epochs = jobs * static_cast<std::size_t>(largest);
    const auto started = std::chrono::steady_clock::now();
    bool interrupted = false;
    const Run_pool::Job run_job = [&](Network& network, std::size_t job) {
        Run_options options;
        options.method = runs.methods[job % methods];
        options.stop = &stop;
        options.after_epoch = [&epochs_done](int) { ++epochs_done; };
        try {
            std::vector<Run_result> each = network.compute_each(used[job / methods], runs.epochs, options);
            for (std::size_t k = 0; k < counts; ++k) results[job * counts + k] = std::move(each[k]);
        } catch (...) {
            errors[job] = std::current_exception();
        }
    };
    {
        std::optional<Run_pool> pool;
        try {
            pool.emplace(networks, jobs, runs.threads, run_job, stop);
        } catch (const Vantel_error& error) {
            // Not one worker thread could be started: the system's limit,
            // not the caller's arguments.
            throw Run_failed(error.what(), Run_failed::Cause::other);
        }
        std::size_t jobs_done = 0;
        while (!pool->over()) {
            jobs_done += pool->collect(Poll_interval).size();
            progress.runs_done = jobs_done * counts;
            progress.epochs_done = epochs_done.load();
            progress.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            if (!interrupted && !poll(progress)) {
                interrupted = true;
                stop = true;
            }
        }
        // A network that could not be made (out of memory, say) fails its runs there.
        for (std::size_t job = 0; job < jobs; ++job)
            if (!errors[job] && !pool->failure(job).empty())
                errors[job] = std::make_exception_ptr(Vantel_error(pool->failure(job)));
    }
    if (interrupted) throw Runs_interrupted();

    for (std::size_t job = 0; job < jobs; ++job) {
        if (!errors[job]) continue;
        const std::string which = series_name(job / methods, series_count) + "method " +
                                  std::to_string(runs.methods[job % methods]) + ": ";
        try {
            std::rethrow_exception(errors[job]);
        } catch (const Overflow_error& error) {
            throw Run_failed(which + error.what() +
                                 " (the series' values make the network's arithmetic leave the double range)",
                             Run_failed::Cause::overflow);
        } catch (const std::bad_alloc& error) {
            throw Run_failed(which + "out of memory for the run (" + error.what() + ")", Run_failed::Cause::memory);
        } catch (const std::exception& error) {
            throw Run_failed(which + error.what(), Run_failed::Cause::other);
        }
    }
    return results;
}

}  // namespace vantel::python
