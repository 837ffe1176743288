// Runs spread over threads: each thread computes one run after another with
// a network of its own over the one loaded set of datasets.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/headless_run.h"

namespace vantel {

class Run_pool {
public:
    // Starts the runs at once, in the order given, on at most `threads`
    // threads in all: with fewer runs than threads, each network's engine
    // gets the spare ones. `stop` is read before each run starts; once it is
    // true no further run starts.
    Run_pool(Loaded_datasets& datasets, std::vector<Headless_request> requests, int threads,
             const std::atomic<bool>& stop);
    // Waits for the runs in progress.
    ~Run_pool();
    Run_pool(const Run_pool&) = delete;
    Run_pool& operator=(const Run_pool&) = delete;

    // Waits until a run finishes or `timeout` passes; returns the runs
    // finished since the last call, in the order they finished.
    std::vector<std::size_t> collect(std::chrono::milliseconds timeout);
    // Every run has finished, or no more will start and none is in progress.
    bool over() const;
    std::size_t finished_count() const;
    std::size_t size() const { return requests_.size(); }
    // The result of a run that collect() has returned; no other may be read.
    const Headless_result& result(std::size_t run) const { return *results_[run]; }

    // Threads for the networks and for each network's engine.
    struct Split {
        int networks = 1;
        int engine_threads = 1;
    };
    static Split split(int threads, std::size_t runs);

private:
    void work(int engine_threads);

    Loaded_datasets& datasets_;
    const std::vector<Headless_request> requests_;
    const std::atomic<bool>& stop_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::optional<Headless_result>> results_;
    std::vector<std::size_t> newly_finished_;
    std::size_t next_ = 0;
    std::size_t finished_ = 0;
    int networks_ = 0;
    int networks_done_ = 0;
    std::vector<std::thread> threads_;
};

// The processors this process may run on.
int available_cores();

}  // namespace vantel
