#include "app/run_pool.h"

#include <omp.h>
#include <sched.h>

#include <algorithm>
#include <exception>
#include <string>
#include <thread>

namespace vantel {

int available_cores()
{
    // The affinity mask, not the machine: a batch system or taskset may
    // give this process fewer cores than the machine has.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

Run_pool::Split Run_pool::split(int threads, std::size_t runs)
{
    Split split;
    threads = std::max(threads, 1);
    split.networks = static_cast<int>(std::clamp<std::size_t>(runs, 1, static_cast<std::size_t>(threads)));
    split.engine_threads = std::max(1, threads / split.networks);
    return split;
}

Run_pool::Run_pool(Loaded_datasets& datasets, std::vector<Headless_request> requests, int threads,
                   const std::atomic<bool>& stop)
    : datasets_(datasets), requests_(std::move(requests)), stop_(stop), results_(requests_.size())
{
    const Split parts = split(threads, requests_.size());
    networks_ = requests_.empty() ? 0 : parts.networks;
    for (int i = 0; i < networks_; ++i) threads_.emplace_back([this, parts] { work(parts.engine_threads); });
}

Run_pool::~Run_pool()
{
    for (std::thread& thread : threads_) thread.join();
}

void Run_pool::work(int engine_threads)
{
    // Per thread: several networks each opening parallel regions of their
    // own would only take cores from one another.
    omp_set_num_threads(engine_threads);
    std::optional<Headless_network> network;
    std::string failure;
    try {
        network.emplace(datasets_);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    for (;;) {
        std::size_t run = 0;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (next_ == requests_.size() || stop_.load()) break;
            run = next_++;
        }
        Headless_result result;
        result.method = requests_[run].method;
        if (network) {
            try {
                result = network->run(requests_[run]);
            } catch (const std::exception& error) {
                // Out of memory, say: this run fails, the others go on.
                result.problem = error.what();
            }
        } else {
            result.problem = failure;
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            results_[run] = std::move(result);
            newly_finished_.push_back(run);
            ++finished_;
        }
        changed_.notify_all();
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ++networks_done_;
    }
    changed_.notify_all();
}

std::vector<std::size_t> Run_pool::collect(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, timeout,
                      [this] { return !newly_finished_.empty() || networks_done_ == networks_; });
    std::vector<std::size_t> finished;
    finished.swap(newly_finished_);
    return finished;
}

bool Run_pool::over() const
{
    const std::lock_guard<std::mutex> hold(lock_);
    return networks_done_ == networks_ && newly_finished_.empty();
}

std::size_t Run_pool::finished_count() const
{
    const std::lock_guard<std::mutex> hold(lock_);
    return finished_;
}

}  // namespace vantel
