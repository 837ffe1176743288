// The computation API on the real MNIST-10 files: the numbers START shows,
// the same bits on two threads, the host's floating-point modes left alone,
// and the series, methods and epochs it refuses.
#include <gtest/gtest.h>

#include <omp.h>

#include <cmath>
#include <limits>
#include <thread>

#include "base/date_time.h"
#include "base/program_folder.h"
#include "engine/datasets.h"
#include "engine/fp_environment.h"
#include "engine/run_pool.h"
#include "engine/vantel.h"
#include "engine/vantel_detail.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

// A series of the kind the program is fed: a noisy oscillation.
std::vector<double> oscillation(int n, double phase)
{
    std::vector<double> series(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k)
        series[static_cast<std::size_t>(k - 1)] = 3.0 * std::sin(0.37 * k + phase) + std::cos(1.3 * k * k + phase);
    return series;
}

class Vantel_api : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!real_mnist_present()) return;
        datasets_ = Datasets::load({default_mnist_folder(built_app_dir()), default_t_pattern_file(built_app_dir())});
    }
    static void TearDownTestSuite() { datasets_.reset(); }
    void SetUp() override { ASSERT_TRUE(real_mnist_present()); }

    static Run_result compute(const std::vector<double>& series, int method, int epochs)
    {
        Network network(datasets_);
        Run_options options;
        options.method = method;
        options.epochs = epochs;
        return network.compute(series, options);
    }

    static std::shared_ptr<const Datasets> datasets_;
};

std::shared_ptr<const Datasets> Vantel_api::datasets_;

// Committed results of a short run. A compiler, C library or code change
// that alters the engine's arithmetic changes them; that is a change of
// every published value and must be deliberate.
TEST_F(Vantel_api, a_short_run_gives_its_committed_count_and_fingerprint)
{
    const Run_result r = compute(oscillation(700, 0.5), 3, 2);
    EXPECT_EQ(r.correct_count, 5995);
    EXPECT_EQ(r.w2_sha256, "af9a6faf748c4844afee68ecde2f44dde201372f394bef99110d2f0ae9bca6a5");
    EXPECT_EQ(r.tested_count, 10000);
    EXPECT_EQ(r.n, 700);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(r.datasets_sha256, Published_mnist_sha256);
    EXPECT_EQ(datasets_->mnist_warning(), "");
}

TEST_F(Vantel_api, gives_the_numbers_that_start_shows_in_the_window)
{
    const std::vector<double> series = oscillation(600, 1.0);
    Temp_dir dir;
    std::string text;
    for (double x : series) {
        char field[64];
        std::snprintf(field, sizeof field, "%.17g\r\n", x);
        text += field;
    }
    const std::string data = dir.write("series.txt", text);

    Test_program program;
    program.start_on(data, {"1", "2", "AUTO=NO", "METHOD=6", "N=600", "Path="}, 1, 6, 2);
    ASSERT_TRUE(program.window.errors.empty()) << program.window.errors.front();

    const Run_result r = compute(series, 6, 2);
    EXPECT_EQ(r.value_text, program.window.text(Control::Edit_Vantel));
    EXPECT_EQ(r.correct_count, program.state->run.Correct_count);
    EXPECT_EQ(r.accuracy, program.state->run.Accuracy);
    EXPECT_EQ(r.w2_sha256, w2_fingerprint(program.state->net));
    EXPECT_EQ(r.value, std::stod(r.value_text));
    EXPECT_GT(r.correct_count, 1500) << "a network that learned";
}

TEST_F(Vantel_api, two_networks_on_two_threads_give_the_bits_of_one)
{
    const std::vector<double> a = oscillation(19625, 0.1);
    const std::vector<double> b = oscillation(5000, 2.0);
    const Run_result alone_a = compute(a, 5, 1);
    const Run_result alone_b = compute(b, 1, 1);

    Run_result on_thread_a, on_thread_b;
    std::thread one([&] {
        omp_set_num_threads(1);
        on_thread_a = compute(a, 5, 1);
    });
    std::thread two([&] {
        omp_set_num_threads(2);
        on_thread_b = compute(b, 1, 1);
    });
    one.join();
    two.join();
    EXPECT_EQ(on_thread_a.w2, alone_a.w2);
    EXPECT_EQ(on_thread_a.correct_count, alone_a.correct_count);
    EXPECT_EQ(on_thread_b.w2, alone_b.w2);
    EXPECT_EQ(on_thread_b.correct_count, alone_b.correct_count);
    EXPECT_NE(alone_a.w2_sha256, alone_b.w2_sha256);
}

TEST_F(Vantel_api, a_host_that_changed_the_floating_point_modes_gets_the_same_bits_and_its_modes_back)
{
    const std::vector<double> series = oscillation(800, 3.0);
    const Run_result plain = compute(series, 4, 1);

    // 53-bit precision, rounding upwards, SSE flushing to zero: on this
    // thread and on every worker of the engine's parallel regions.
    const std::uint16_t host_x87 = 0x027F | 0x0800;
    const std::uint32_t host_sse = 0x1F80 | 0x8000 | 0x4000;
    const auto set_host_modes = [&] {
        set_x87_control_word(host_x87);
        set_sse_control_word(host_sse);
    };
    omp_set_num_threads(2);
#pragma omp parallel num_threads(2)
    set_host_modes();
    const std::uint16_t main_x87 = x87_control_word();
    const std::uint32_t main_sse = sse_control_word() & Sse_mode_bits;

    const Run_result hosted = compute(series, 4, 1);

    int workers_changed = 0;
#pragma omp parallel num_threads(2) reduction(+ : workers_changed)
    workers_changed += x87_control_word() != host_x87 || (sse_control_word() & Sse_mode_bits) != (host_sse & Sse_mode_bits);
    EXPECT_EQ(x87_control_word(), main_x87);
    EXPECT_EQ(sse_control_word() & Sse_mode_bits, main_sse);
    EXPECT_EQ(workers_changed, 0);

    // Linux's modes again, for the tests that follow in this process.
#pragma omp parallel num_threads(2)
    {
        set_x87_control_word(0x037F);
        set_sse_control_word(0x1F80);
    }
    set_x87_control_word(0x037F);
    set_sse_control_word(0x1F80);
    EXPECT_EQ(hosted.w2, plain.w2);
    EXPECT_EQ(hosted.correct_count, plain.correct_count);
}

TEST_F(Vantel_api, refuses_what_it_cannot_compute_before_any_work)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::vector<double> series;
        int method;
        int epochs;
        std::string message;
    };
    const std::vector<Case> cases = {
        {std::vector<double>(4, 1.0), 5, 1, "a series needs at least 5 values, got 4"},
        {{}, 5, 1, "a series needs at least 5 values, got 0"},
        {std::vector<double>(19626, 1.0), 5, 1,
         "a series may hold at most 19625 values (the cells of W1), got 19626; pass the part to be used"},
        {{1, 2, nan, 4, 5}, 5, 1, "value 3 of the series is not a number (NaN); every value must be a finite number"},
        {{1, 2, 3, 4, -inf}, 5, 1, "value 5 of the series is infinite; every value must be a finite number"},
        {std::vector<double>(5, 1.0), 0, 1, "the fill method must be 1..6, got 0"},
        {std::vector<double>(5, 1.0), 7, 1, "the fill method must be 1..6, got 7"},
        {std::vector<double>(5, 1.0), 5, 0, "the number of epochs must be 1..100000, got 0"},
        {std::vector<double>(5, 1.0), 5, 100001, "the number of epochs must be 1..100000, got 100001"},
    };
    Network network(datasets_);
    for (const Case& c : cases) {
        Run_options options;
        options.method = c.method;
        options.epochs = c.epochs;
        try {
            network.compute(c.series, options);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const Vantel_error& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
    // The network is still usable, and 5 and 19625 values are fine.
    Run_options two_once;
    two_once.method = 2;
    two_once.epochs = 1;
    EXPECT_EQ(network.compute(std::vector<double>(5, 0.25), two_once).n, 5);
}

TEST_F(Vantel_api, several_epoch_counts_trained_once_give_the_bits_of_separate_runs)
{
    const std::vector<double> series = oscillation(2000, 0.7);
    const int counts[] = {3, 1, 2, 3};
    Network network(datasets_);
    Run_options options;
    options.method = 2;
    int epochs_trained = 0;
    options.after_epoch = [&](int epoch) { epochs_trained = epoch; };
    const std::vector<Run_result> shared = network.compute_each(series, counts, options);
    EXPECT_EQ(epochs_trained, 3) << "one training, to the largest count";
    ASSERT_EQ(shared.size(), 4u);
    for (std::size_t i = 0; i < shared.size(); ++i) {
        const Run_result alone = compute(series, 2, counts[i]);
        EXPECT_EQ(shared[i].epochs, counts[i]);
        EXPECT_EQ(shared[i].w2, alone.w2) << counts[i] << " epochs";
        EXPECT_EQ(shared[i].w2_sha256, alone.w2_sha256);
        EXPECT_EQ(shared[i].correct_count, alone.correct_count);
        EXPECT_EQ(shared[i].value_text, alone.value_text);
    }
    EXPECT_NE(shared[1].w2_sha256, shared[2].w2_sha256);
    EXPECT_LE(shared[1].seconds, shared[0].seconds);
}

TEST_F(Vantel_api, a_stop_ends_the_run_without_a_value)
{
    std::atomic<bool> stop{false};
    int epochs_seen = 0;
    Run_options options;
    options.epochs = 1000;
    options.stop = &stop;
    options.after_epoch = [&](int epoch) {
        epochs_seen = epoch;
        if (epoch == 2) stop = true;
    };
    Network network(datasets_);
    const Run_result r = network.compute(oscillation(300, 0.0), options);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(epochs_seen, 2);
    EXPECT_TRUE(r.value_text.empty());
    EXPECT_TRUE(std::isnan(r.value));
}

TEST_F(Vantel_api, runs_of_a_network_that_cannot_be_made_go_to_the_other_threads_or_fail_with_the_reason)
{
    struct Case {
        const char* what;
        int threads;
        int failing_networks;  // the first ones the pool makes
        bool runs_fail;
    };
    const Case cases[] = {
        {"one thread, no network", 1, 1, true},
        {"two threads, neither network", 2, 2, true},
        {"two threads, one network", 2, 1, false},
    };
    constexpr std::size_t Runs = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<int> made{0};
        Network_pool networks(datasets_, [&](const std::shared_ptr<const Datasets>& datasets) {
            if (made++ < c.failing_networks) throw std::bad_alloc();
            return std::make_unique<Network>(datasets);
        });
        std::vector<int> ran(Runs, 0);
        const std::atomic<bool> stop{false};
        Run_pool pool(networks, Runs, c.threads, [&](Network&, std::size_t run) { ++ran[run]; }, stop);
        std::size_t collected = 0;
        while (!pool.over()) collected += pool.collect(std::chrono::milliseconds(100)).size();
        EXPECT_EQ(collected, Runs);
        for (std::size_t run = 0; run < Runs; ++run) {
            EXPECT_EQ(ran[run], c.runs_fail ? 0 : 1) << "run " << run;
            EXPECT_EQ(pool.failure(run), c.runs_fail ? "cannot make a network for the run: std::bad_alloc" : "")
                << "run " << run;
        }
    }
}

TEST(Window_starts, every_window_that_fits_whole_and_no_other)
{
    struct Case {
        std::size_t length, window, step;
        std::vector<std::size_t> starts;
    };
    const Case cases[] = {
        {40, 10, 0, {0, 10, 20, 30}},     // side by side, the last one ending on the last value
        {40, 10, 7, {0, 7, 14, 21, 28}},  // 35..44 would not fit
        {41, 10, 31, {0, 31}},            // 31..40 ends on the last value
        {10, 10, 3, {0}},
        {9, 10, 1, {}},
        {0, 5, 1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(window_starts(c.length, c.window, c.step), c.starts)
            << c.length << " values, window " << c.window << ", step " << c.step;
}

}  // namespace
}  // namespace vantel::test
