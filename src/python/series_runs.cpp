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
    if (runs.scales.empty()) throw Vantel_error("scales: no scale given");
    if (runs.surrogates.count != 0)
        if (const std::string problem = surrogates_problem(runs.surrogates.count); !problem.empty())
            throw Vantel_error(problem);
    for (std::size_t s = 0; s < runs.series.size(); ++s) {
        if (const std::string problem = series_problem(runs.series[s]); !problem.empty())
            throw Vantel_error(series_name(s, runs.series.size()) + problem);
        for (const int scale : runs.scales)
            if (const std::string problem = scale_problem(runs.series[s].size(), scale); !problem.empty())
                throw Vantel_error(series_name(s, runs.series.size()) + problem);
    }
}

// Every series at every scale, coarse-grained, and rescaled before any
// training, so that a constant series is refused before a single run has
// started; the surrogates are made from the coarse series.
struct Prepared_series {
    std::vector<double> coarse;
    std::vector<double> used;
};

std::vector<Prepared_series> prepared(const Series_runs& runs)
{
    std::vector<Prepared_series> all;
    for (std::size_t s = 0; s < runs.series.size(); ++s)
        for (const int scale : runs.scales) {
            Prepared_series& one = all.emplace_back();
            one.coarse = coarse_grained(runs.series[s], scale);
            try {
                one.used = rescaled(one.coarse, runs.rescale);
            } catch (const Vantel_error& error) {
                throw Vantel_error(series_name(s, runs.series.size()) + error.what());
            }
        }
    return all;
}

[[noreturn]] void throw_failure(const std::string& which, const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
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

}  // namespace

std::vector<Series_run> compute_series_runs(Network_pool& networks, const Series_runs& runs,
                                            const std::function<bool(const Runs_progress&)>& poll)
{
    check_arguments(runs);
    const std::vector<Prepared_series> series = prepared(runs);
    const std::size_t series_count = runs.series.size();
    const std::size_t scales = runs.scales.size();
    const std::size_t methods = runs.methods.size();
    const std::size_t counts = runs.epochs.size();
    const std::size_t variants = 1 + static_cast<std::size_t>(runs.surrogates.count);
    // Jobs go by series, then method, then scale; pool run r is variant
    // r % variants of job r / variants.
    const std::size_t jobs = series_count * methods * scales;
    struct Job_place {
        std::size_t series, method, scale;
    };
    const auto place = [&](std::size_t job) {
        return Job_place{job / (methods * scales), job / scales % methods, job % scales};
    };
    int largest = 0;
    for (const int e : runs.epochs) largest = std::max(largest, e);

    std::vector<std::vector<Run_result>> results(jobs * variants);
    std::vector<std::exception_ptr> errors(jobs * variants);
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> epochs_done{0};
    Runs_progress progress;
    progress.runs = jobs * variants * counts;  // a surrogate's runs count as runs
    progress.epochs = jobs * variants * static_cast<std::size_t>(largest);
    const auto started = std::chrono::steady_clock::now();
    bool interrupted = false;
    const Run_pool::Job run_job = [&](Network& network, std::size_t run) {
        const std::size_t job = run / variants;
        const std::size_t variant = run % variants;
        Run_options options;
        const Job_place at = place(job);
        options.method = runs.methods[at.method];
        options.stop = &stop;
        options.after_epoch = [&epochs_done](int) { ++epochs_done; };
        try {
            const Prepared_series& one = series[at.series * scales + at.scale];
            if (variant == 0) {
                results[run] = network.compute_each(one.used, runs.epochs, options);
            } else {
                const std::vector<double> made =
                    rescaled(variant_series(one.coarse, runs.surrogates, variant), runs.rescale);
                results[run] = network.compute_each(made, runs.epochs, options);
            }
        } catch (...) {
            errors[run] = std::current_exception();
        }
    };
    {
        std::optional<Run_pool> pool;
        try {
            pool.emplace(networks, jobs * variants, runs.threads, run_job, stop);
        } catch (const Vantel_error& error) {
            // Not one worker thread could be started: the system's limit,
            // not the caller's arguments.
            throw Run_failed(error.what(), Run_failed::Cause::other);
        }
        std::size_t runs_done = 0;
        while (!pool->over()) {
            runs_done += pool->collect(Poll_interval).size();
            progress.runs_done = runs_done * counts;
            progress.epochs_done = epochs_done.load();
            progress.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            if (!interrupted && !poll(progress)) {
                interrupted = true;
                stop = true;
            }
        }
        // A network that could not be made (out of memory, say) fails its runs there.
        for (std::size_t run = 0; run < jobs * variants; ++run)
            if (!errors[run] && !pool->failure(run).empty())
                errors[run] = std::make_exception_ptr(Vantel_error(pool->failure(run)));
    }
    if (interrupted) throw Runs_interrupted();

    for (std::size_t run = 0; run < jobs * variants; ++run) {
        if (!errors[run]) continue;
        const Job_place at = place(run / variants);
        std::string which =
            series_name(at.series, series_count) + "method " + std::to_string(runs.methods[at.method]) + ": ";
        if (scales > 1 || runs.scales.front() != 1) which += "scale " + std::to_string(runs.scales[at.scale]) + ": ";
        if (run % variants > 0)
            which += "surrogate " + std::to_string(run % variants) + " of " + std::to_string(variants - 1) + ": ";
        throw_failure(which, errors[run]);
    }

    std::vector<Series_run> out(jobs * counts);
    for (std::size_t job = 0; job < jobs; ++job)
        for (std::size_t k = 0; k < counts; ++k) {
            Series_run& one = out[job * counts + k];
            one.result = std::move(results[job * variants][k]);
            // The series' length as given, as the command's records have it;
            // the scale tells how many values were trained.
            one.result.n = static_cast<int>(runs.series[place(job).series].size());
            one.scale = runs.scales[place(job).scale];
            for (std::size_t v = 1; v < variants; ++v)
                one.surrogate_values.push_back(results[job * variants + v][k].value);
            if (variants > 1) one.summary = summarize_surrogates(one.result.value, one.surrogate_values);
        }
    return out;
}

}  // namespace vantel::python
