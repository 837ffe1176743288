// The Vantel calculator's computation, for any program: a series of doubles
// in, its Vantel value out, with no window.
//
// How data flows: Datasets::load reads the MNIST-10 images and labels and
// the T-pattern once into an immutable object that any number of threads
// share. Each thread computes with a Network of its own, run after run: the
// series fills the reservoir matrix W1 by one of six methods, each reservoir
// neuron is normalized over the 60000 training images, the output layer is
// trained for a number of epochs and tested on the 10000 test images. The
// share of test images classified right is the value. Every number is the
// one the window's START gives for the same series, method and epochs, bit
// for bit, whatever the number of threads.
//
//     auto datasets = vantel::Datasets::load({"/path/MNIST_10/", "/path/T-pattern-3.VM"});
//     vantel::Network network(datasets);
//     vantel::Run_result r = network.compute(series, {.method = 5, .epochs = 100});
//     std::cout << r.value_text << "\n";   // 0.8765
//
// This header, with the ones it includes (base/error.h for the errors,
// engine/network_shape.h for the sizes, engine/run_arguments.h for the
// limits of methods, epochs and threads, engine/rescaling.h for rescaling a
// series first, engine/surrogates.h for surrogate series and what a value
// says against theirs, engine/multiscale.h for coarse-grained series), is
// the whole interface; the kernels and the records they
// work on stay behind it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/error.h"
#include "engine/network_shape.h"
#include "engine/multiscale.h"
#include "engine/rescaling.h"
#include "engine/run_arguments.h"
#include "engine/surrogates.h"

namespace vantel {

class Sparse_image_cache;
struct Datasets_access;
struct Engine_workspace;
struct Pattern_datasets;
struct Vedero_network;

struct Dataset_paths {
    std::string mnist_dir;       // folder of the four MNIST-10 files; a final '/' is added when missing
    std::string t_pattern_file;  // the T-pattern file
};

class Datasets {
public:
    // Reads the four MNIST-10 files and the T-pattern. Throws Vantel_error
    // naming the file and what is wrong with it: a file that is missing or
    // unreadable, damaged, or a T-pattern that does not feed every input
    // with a pixel of the image.
    static std::shared_ptr<const Datasets> load(const Dataset_paths& paths);

    const Dataset_paths& paths() const { return paths_; }
    // The SHA-256 of the four MNIST-10 files' bytes one after another (train
    // images, train labels, test images, test labels), and what a result
    // should say when they are not the published files: empty for those.
    const std::string& mnist_sha256() const { return mnist_sha256_; }
    const std::string& mnist_warning() const { return mnist_warning_; }

    ~Datasets();
    Datasets(const Datasets&) = delete;
    Datasets& operator=(const Datasets&) = delete;

private:
    friend struct Datasets_access;  // the kernels' way in (engine/vantel_detail.h)
    Datasets();
    Dataset_paths paths_;
    std::string mnist_sha256_;
    std::string mnist_warning_;
    std::unique_ptr<Pattern_datasets> patterns_;
    std::shared_ptr<Sparse_image_cache> sparse_;  // made at loading, then only read
};

struct Run_options {
    int method = 5;   // fill method 1..6
    int epochs = 100; // training epochs, 1..Max_epochs
    // Checked after every training image: once true, the run ends without a
    // value (Run_result::stopped).
    const std::atomic<bool>* stop = nullptr;
    // Called after each training epoch with its number (1-based).
    std::function<void(int epoch)> after_epoch;
};

struct Run_result {
    // The share of test images classified right, as the window publishes it:
    // value_text is "0.8765" ("." as the decimal mark) and value the double
    // nearest to it. Empty and NaN when the run was stopped.
    double value = 0;
    std::string value_text;
    double accuracy = 0;  // the percentage step 8 stores
    int correct_count = 0;
    int tested_count = 0;
    int n = 0;
    int method = 0;
    int epochs = 0;
    // W2[h][o] as 260 doubles, h = 0..25 outer, o = 0..9 inner, and the
    // SHA-256 of those doubles in little-endian byte order: a fingerprint
    // that shows whether two machines trained the same network.
    std::array<double, W2_cells> w2{};
    std::string w2_sha256;
    double seconds = 0;    // wall-clock time of the run
    bool stopped = false;  // the stop flag ended the training
    std::string datasets_sha256;  // Datasets::mnist_sha256 of the datasets used
};

// One network, reusable run after run; use one per thread.
class Network {
public:
    explicit Network(std::shared_ptr<const Datasets> datasets);
    ~Network();
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;

    // The Vantel value of the series. Throws Vantel_error, before any work,
    // for a series shorter than 5 or longer than 19625 values, a value that
    // is not a finite number, a method outside 1..6 or epochs outside
    // 1..Max_epochs (the texts of run_arguments.h);
    // Overflow_error when the series' values make the network's arithmetic
    // leave the double range.
    Run_result compute(std::span<const double> series, const Run_options& options = {});

    // The values after several epoch counts, at about the cost of the
    // largest: one training to the largest count, the network tested each
    // time a requested count is reached. Each result, W2 included, is bit
    // for bit the one compute() gives for that count alone (see the .cpp);
    // its seconds are the time the shared run took to reach it. Results come
    // in the order of `epoch_counts` (options.epochs is not used); a stop
    // leaves the counts not yet reached stopped.
    std::vector<Run_result> compute_each(std::span<const double> series, std::span<const int> epoch_counts,
                                         const Run_options& options = {});

    const std::shared_ptr<const Datasets>& datasets() const { return datasets_; }

private:
    std::shared_ptr<const Datasets> datasets_;
    std::unique_ptr<Engine_workspace> workspace_;
    std::unique_ptr<Vedero_network> net_;
    std::unique_ptr<double[]> xn_;  // xn[1..N]
};

// The first values (indexes from 0) of the windows of `window` values,
// `step` apart, that fit whole in a series of `length` values: 0, step,
// 2 step, ... while start + window <= length; none when the window is
// longer than the series. A step of 0 is taken as `window` (windows side by
// side).
std::vector<std::size_t> window_starts(std::size_t length, std::size_t window, std::size_t step);

// What a series must be, checked as compute checks it; the text of the
// error, or empty when the series is usable.
std::string series_problem(std::span<const double> series);

}  // namespace vantel
