// Runs spread over threads: each thread computes one run after another with
// a Network of its own over one shared set of datasets.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/vantel.h"

namespace vantel {

// Networks kept between calls, so that a caller that computes a few runs at
// a time does not build (and zero) a network's workspace for each call.
// Safe to use from several threads.
class Network_pool {
public:
    // Makes a network; throws when it cannot (out of memory, say). Tests
    // give a maker that fails, to see every run of a failed network reported.
    using Maker = std::function<std::unique_ptr<Network>(const std::shared_ptr<const Datasets>&)>;

    explicit Network_pool(std::shared_ptr<const Datasets> datasets, Maker make = nullptr);
    // An idle network, or a new one when none is idle.
    std::unique_ptr<Network> take();
    void give(std::unique_ptr<Network> network);
    const std::shared_ptr<const Datasets>& datasets() const { return datasets_; }

private:
    std::shared_ptr<const Datasets> datasets_;
    Maker make_;
    std::mutex lock_;
    std::vector<std::unique_ptr<Network>> idle_;
};

class Run_pool {
public:
    // Computes run i with the network of the thread it runs on. An error it
    // throws becomes the run's failure; the other runs go on. A thread that
    // cannot make its network leaves its runs to the threads that could;
    // when none could, every run fails with the reason.
    using Job = std::function<void(Network& network, std::size_t run)>;

    // Starts the runs 0 .. runs - 1 at once, in that order, on at most
    // `threads` threads in all: with fewer runs than threads, each network's
    // engine gets the spare ones. `stop` is read before each run starts;
    // once it is true no further run starts (the job is expected to pass it
    // on to the network, which then ends the runs in progress). Throws
    // Vantel_error when not one thread can be started; with some, the runs
    // go to those.
    Run_pool(std::shared_ptr<const Datasets> datasets, std::size_t runs, int threads, Job job,
             const std::atomic<bool>& stop);
    // The same, with networks taken from `networks` and given back to it.
    Run_pool(Network_pool& networks, std::size_t runs, int threads, Job job, const std::atomic<bool>& stop);
    // Waits for the runs in progress.
    ~Run_pool();
    Run_pool(const Run_pool&) = delete;
    Run_pool& operator=(const Run_pool&) = delete;

    // Waits until a run finishes or `timeout` passes; returns the runs
    // finished since the last call, in the order they finished.
    std::vector<std::size_t> collect(std::chrono::milliseconds timeout);
    // Every run has finished, or no more will start and none is in progress,
    // and collect() has returned every finished run.
    bool over() const;
    std::size_t finished_count() const;
    std::size_t size() const { return failures_.size(); }
    // Why a run that collect() has returned failed; empty when it did not.
    const std::string& failure(std::size_t run) const { return failures_[run]; }

    // Threads for the networks and for each network's engine.
    struct Split {
        int networks = 1;
        int engine_threads = 1;
    };
    static Split split(int threads, std::size_t runs);

private:
    void start(int threads, std::size_t runs);
    void work(int engine_threads);
    // With every thread's network failed, the runs not yet started fail
    // with the reason; called holding lock_.
    void fail_the_rest();

    std::unique_ptr<Network_pool> own_networks_;
    Network_pool& networks_pool_;
    Job job_;
    const std::atomic<bool>& stop_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> failures_;
    std::vector<std::size_t> newly_finished_;
    std::size_t next_ = 0;
    std::size_t finished_ = 0;
    int networks_ = 0;
    int networks_done_ = 0;
    int networks_failed_ = 0;
    std::string no_network_;  // why the last network that could not be made failed
    std::vector<std::thread> threads_;
};

// The processors this process may run on.
int available_cores();

}  // namespace vantel
