#include "engine/vantel.h"
#include "engine/vantel_detail.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <future>

#include "base/number_format.h"
#include "base/sha256.h"
#include "base/strings.h"
#include "engine/datasets.h"
#include "engine/engine_workspace.h"
#include "engine/fp_environment.h"
#include "engine/normalization.h"
#include "engine/reservoir.h"
#include "engine/run_arguments.h"
#include "engine/training.h"

namespace vantel {

static_assert(std::endian::native == std::endian::little,
              "W2's fingerprint is defined on little-endian doubles");

namespace {

// Training without pauses; the stop flag may be set by any thread.
class Unpaused : public Training_pace {
public:
    explicit Unpaused(const std::atomic<bool>* stop) : stop_(stop) {}
    bool pause_due() override { return false; }
    bool stop_requested() override { return stop_ && stop_->load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>* stop_;
};

}  // namespace

std::string w2_fingerprint(const Vedero_network& net)
{
    return sha256_hex(std::string_view(reinterpret_cast<const char*>(net.W2), sizeof net.W2));
}

std::string series_problem(std::span<const double> series)
{
    const std::size_t n = series.size();
    if (n < static_cast<std::size_t>(Min_series_length))
        return "a series needs at least " + std::to_string(Min_series_length) + " values, got " +
               std::to_string(n);
    if (n > static_cast<std::size_t>(Max_series_length))
        return "a series may hold at most " + std::to_string(Max_series_length) + " values (the cells of W1), got " +
               std::to_string(n) + "; pass the part to be used";
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(series[i]))
            return "value " + std::to_string(i + 1) + " of the series is " +
                   (std::isnan(series[i]) ? std::string("not a number (NaN)") : std::string("infinite")) +
                   "; every value must be a finite number";
    return {};
}

std::vector<std::size_t> window_starts(std::size_t length, std::size_t window, std::size_t step)
{
    if (step == 0) step = window;
    std::vector<std::size_t> starts;
    if (window == 0) return starts;
    for (std::size_t s = 0; window <= length && s <= length - window; s += step) starts.push_back(s);
    return starts;
}

Datasets::Datasets() = default;
Datasets::~Datasets() = default;

std::shared_ptr<const Datasets> Datasets::load(const Dataset_paths& paths)
{
    std::shared_ptr<Datasets> loaded(new Datasets);
    loaded->paths_ = {with_slash(paths.mnist_dir), paths.t_pattern_file};
    // Default-initialized: loading writes every image, target and label.
    loaded->patterns_.reset(new Pattern_datasets);
    Pattern_datasets& patterns = *loaded->patterns_;
    // The fingerprint reads the files again on another core while they are
    // read into the datasets, which takes longer: it then costs no time.
    // (A loading error leaves through the future's destructor, which waits.)
    auto fingerprint = std::async(std::launch::async, mnist_fingerprint, loaded->paths_.mnist_dir);
    load_mnist(patterns, loaded->paths_.mnist_dir);
    loaded->mnist_sha256_ = fingerprint.get();
    loaded->mnist_warning_ = mnist_fingerprint_warning(loaded->mnist_sha256_, loaded->paths_.mnist_dir);
    const T_pattern_report report = load_t_pattern(patterns, paths.t_pattern_file);
    const std::string warning = t_pattern_warning(report, paths.t_pattern_file, T_pattern_use::refused);
    if (!warning.empty()) throw Vantel_error(warning);
    patterns.Mnist_dir = loaded->paths_.mnist_dir;
    patterns.Datasets_pending = false;
    // Made now, while nobody else reads them yet.
    loaded->sparse_ = std::make_shared<Sparse_image_cache>();
    Engine_workspace maker;
    maker.sparse_cache = loaded->sparse_;
    prepare_sparse_images(maker, patterns);
    return loaded;
}

Network::Network(std::shared_ptr<const Datasets> datasets)
    : datasets_(std::move(datasets)),
      workspace_(std::make_unique<Engine_workspace>()),
      net_(std::make_unique<Vedero_network>()),
      xn_(std::make_unique<double[]>(Max_N + 1))
{
    // Each run makes the raw sums once and trains many epochs on them: the
    // hidden vectors may take the raw sums' place.
    workspace_->lean = true;
    workspace_->sparse_cache = Datasets_access::sparse_images(*datasets_);
}

Network::~Network() = default;

Run_result Network::compute(std::span<const double> series, const Run_options& options)
{
    const int epochs[] = {options.epochs};
    return std::move(compute_each(series, epochs, options).front());
}

std::vector<Run_result> Network::compute_each(std::span<const double> series, std::span<const int> epoch_counts,
                                              const Run_options& options)
{
    if (const std::string problem = series_problem(series); !problem.empty()) throw Vantel_error(problem);
    const int methods[] = {options.method};
    if (const std::string problem = runs_problem(methods, epoch_counts); !problem.empty()) throw Vantel_error(problem);

    const Fp_mode_scope mode;
    const auto started = std::chrono::steady_clock::now();
    const Pattern_datasets& patterns = Datasets_access::patterns(*datasets_);
    const int n = static_cast<int>(series.size());
    const int last_epoch = *std::max_element(epoch_counts.begin(), epoch_counts.end());
    std::vector<Run_result> results(epoch_counts.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
        results[i].n = n;
        results[i].method = options.method;
        results[i].epochs = epoch_counts[i];
        results[i].stopped = true;  // until its count is reached
        results[i].value = std::nan("");
        results[i].datasets_sha256 = datasets_->mnist_sha256();
    }

    for (int k = 1; k <= n; ++k) xn_[k] = series[static_cast<std::size_t>(k - 1)];
    Vedero_network& net = *net_;
    reset_network(net);
    fill_reservoir(net, xn_.get(), n, options.method);
    measure_bounds(*workspace_, net, patterns);

    // Training passes through exactly the network of a run of fewer epochs:
    // step 3 sets the same starting weights for every run, each epoch
    // trains the same images in the same order at the same fixed rate, and
    // testing reads W2 without changing it or anything training reads (the
    // trainer keeps its own copy of W2 and dW2 and reads only the hidden
    // vectors and targets). So the network tested after epoch e is the one
    // a run of e epochs tests.
    Run_control run;
    run.Learning_rate = Training_rate;
    Unpaused pace(options.stop);
    if (pace.stop_requested()) return results;
    Output_trainer trainer(*workspace_, net, run, patterns);
    for (int epoch = 1; epoch <= last_epoch; ++epoch) {
        for (int k = 1; k != 0;) k = trainer.train_from(k, pace);
        // A stop seen now may have ended the epoch early: it has no value.
        if (pace.stop_requested()) break;
        if (options.after_epoch) options.after_epoch(epoch);
        if (std::find(epoch_counts.begin(), epoch_counts.end(), epoch) == epoch_counts.end()) continue;
        trainer.store();
        test_network(*workspace_, net, run, patterns);
        Run_result tested;
        tested.n = n;
        tested.method = options.method;
        tested.epochs = epoch;
        tested.accuracy = run.Accuracy;
        tested.correct_count = run.Correct_count;
        tested.tested_count = run.Tested_count;
        tested.value_text = format_value_text(static_cast<long double>(run.Accuracy) / 100, '.');
        // The double nearest to the text, whatever the process's locale.
        const std::string& text = tested.value_text;
        std::from_chars(text.data(), text.data() + text.size(), tested.value);
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Outputs; ++o) tested.w2[static_cast<std::size_t>(h * Outputs + o)] = net.W2[h][o];
        tested.w2_sha256 = w2_fingerprint(net);
        tested.datasets_sha256 = datasets_->mnist_sha256();
        tested.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        for (std::size_t i = 0; i < results.size(); ++i)
            if (epoch_counts[i] == epoch) results[i] = tested;
    }
    return results;
}

}  // namespace vantel
