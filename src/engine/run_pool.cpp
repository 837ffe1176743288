#include "engine/run_pool.h"

#include <omp.h>
#include <sched.h>

#include <algorithm>
#include <exception>
#include <string>
#include <thread>

#include "base/error.h"

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

Network_pool::Network_pool(std::shared_ptr<const Datasets> datasets, Maker make)
    : datasets_(std::move(datasets)), make_(std::move(make))
{
    if (!make_)
        make_ = [](const std::shared_ptr<const Datasets>& datasets) { return std::make_unique<Network>(datasets); };
}

std::unique_ptr<Network> Network_pool::take()
{
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (!idle_.empty()) {
            std::unique_ptr<Network> network = std::move(idle_.back());
            idle_.pop_back();
            return network;
        }
    }
    return make_(datasets_);
}

void Network_pool::give(std::unique_ptr<Network> network)
{
    const std::lock_guard<std::mutex> hold(lock_);
    idle_.push_back(std::move(network));
}

Run_pool::Run_pool(std::shared_ptr<const Datasets> datasets, std::size_t runs, int threads, Job job,
                   const std::atomic<bool>& stop)
    : own_networks_(std::make_unique<Network_pool>(std::move(datasets))),
      networks_pool_(*own_networks_),
      job_(std::move(job)),
      stop_(stop),
      failures_(runs)
{
    start(threads, runs);
}

Run_pool::Run_pool(Network_pool& networks, std::size_t runs, int threads, Job job, const std::atomic<bool>& stop)
    : networks_pool_(networks), job_(std::move(job)), stop_(stop), failures_(runs)
{
    start(threads, runs);
}

void Run_pool::start(int threads, std::size_t runs)
{
    const Split parts = split(threads, runs);
    const int wanted = runs == 0 ? 0 : parts.networks;
    networks_ = wanted;
    std::string refused;
    for (int i = 0; i < wanted; ++i) {
        try {
            threads_.emplace_back([this, parts] { work(parts.engine_threads); });
        } catch (const std::exception& error) {
            refused = error.what();  // the system's limit of threads or memory
            break;
        }
    }
    if (static_cast<int>(threads_.size()) == wanted) return;
    const std::lock_guard<std::mutex> hold(lock_);
    networks_ = static_cast<int>(threads_.size());
    if (networks_ == 0) throw Vantel_error("cannot start a thread for the runs: " + refused);
    if (networks_failed_ == networks_) fail_the_rest();
    changed_.notify_all();
}

Run_pool::~Run_pool()
{
    for (std::thread& thread : threads_) thread.join();
}

void Run_pool::fail_the_rest()
{
    for (; next_ < failures_.size(); ++next_) {
        failures_[next_] = no_network_;
        newly_finished_.push_back(next_);
        ++finished_;
    }
}

void Run_pool::work(int engine_threads)
{
    // Per thread: several networks each opening parallel regions of their
    // own would only take cores from one another. More threads than cores
    // gain nothing (the results do not depend on the count), and a runtime
    // that cannot start them ends the process.
    omp_set_num_threads(std::min(engine_threads, available_cores()));
    std::unique_ptr<Network> network;
    try {
        network = networks_pool_.take();
    } catch (const std::exception& error) {
        const std::lock_guard<std::mutex> hold(lock_);
        no_network_ = "cannot make a network for the run: " + std::string(error.what());
        if (++networks_failed_ == networks_) fail_the_rest();
        ++networks_done_;
        changed_.notify_all();
        return;
    }
    for (;;) {
        std::size_t run = 0;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (next_ == failures_.size() || stop_.load()) break;
            run = next_++;
        }
        std::string failure;
        try {
            job_(*network, run);
        } catch (const std::exception& error) {
            failure = error.what();
        } catch (...) {
            failure = "Unknown error";
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            failures_[run] = std::move(failure);
            newly_finished_.push_back(run);
            ++finished_;
        }
        changed_.notify_all();
    }
    networks_pool_.give(std::move(network));
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
