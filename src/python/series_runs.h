// The runs of the Python module, without Python: every combination of
// series, fill method and epoch count, computed on worker threads with
// networks from a pool that lives as long as the module's Calculator.
//
// The calling thread only waits: every Poll_interval (or when a run ends) it
// calls `poll`, which the module uses to let the interpreter handle Ctrl-C
// and to draw the progress line. When `poll` returns false, every run in
// progress stops at its next image and compute_series_runs throws
// Runs_interrupted once the workers are idle.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/error.h"
#include "engine/rescaling.h"
#include "engine/run_pool.h"
#include "engine/vantel.h"

namespace vantel::python {

inline constexpr std::chrono::milliseconds Poll_interval{100};

struct Series_runs {
    std::vector<std::span<const double>> series;
    std::vector<int> methods;
    std::vector<int> scales = {1};  // each series coarse-grained at each, then rescaled
    std::vector<int> epochs;  // each series, method and scale is trained once, to the largest
    Rescale rescale = Rescale::none;
    // Each surrogate is made from the coarse-grained series, rescaled as
    // the series is and trained as it is, on a run of its own.
    Surrogate_options surrogates;
    int threads = 1;
};

// A run and, with surrogates, theirs at the same epoch count.
struct Series_run {
    Run_result result;
    int scale = 1;
    std::vector<double> surrogate_values;  // in the order of their index
    Surrogate_summary summary;             // with surrogates only
};

struct Runs_progress {
    std::size_t runs_done = 0;
    std::size_t runs = 0;
    std::size_t epochs_done = 0;
    std::size_t epochs = 0;
    double seconds = 0;
};

// A run that could not be computed: `series` and `method` say which; or
// no run at all, when not one worker thread could be started.
class Run_failed : public Vantel_error {
public:
    enum class Cause {
        other,
        overflow,  // the network's arithmetic left the double range
        memory,    // the run's memory could not be had
    };
    Run_failed(const std::string& what, Cause cause) : Vantel_error(what), cause(cause) {}
    Cause cause;
};

class Runs_interrupted : public std::exception {
public:
    const char* what() const noexcept override { return "interrupted"; }
};

// Results in the order series, then method, then scale, then epoch count;
// each bit for bit what Network::compute gives for that run alone (on the
// coarse-grained, rescaled series), whatever `threads`, but for its `n`:
// the length of the series given, not of its coarse series.
// Throws Vantel_error before any work when an argument cannot be used (its
// text names the series by its index from 0 when there are several),
// Run_failed for the first run, in that order, that failed (or when no
// worker thread can be started), and Runs_interrupted.
std::vector<Series_run> compute_series_runs(Network_pool& networks, const Series_runs& runs,
                                            const std::function<bool(const Runs_progress&)>& poll);

}  // namespace vantel::python
