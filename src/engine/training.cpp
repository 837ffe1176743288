// Steps 7 and 8: the output layer trained image by image, then tested.
#include "engine/training.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

#include "base/error.h"
#include "engine/extended_arithmetic.h"
#include "engine/fast_sigmoid.h"
#include "engine/fp_environment.h"
#include "engine/image_loop.h"
#include "engine/input_vector.h"
#include "engine/output_layer.h"

namespace vantel {

namespace {

constexpr int Half = Outputs / 2;

// Outputs First..First + 4 with their own copy of W2. Output o's sum, error
// term and column W2[.][o] involve no other output, so the two halves of
// the output layer train independently, each on its own core; they live in
// separate cache lines so that the two threads never share one.
template <int First>
struct alignas(64) Output_half {
    double W2[Neurons + 1][Half];
    double dW2[Neurons + 1][Half];
    double Sout[Half] = {};
    double Delta_out[Half] = {};

    void load(const Vedero_network& net)
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Half; ++o) {
                W2[h][o] = net.W2[h][First + o];
                dW2[h][o] = net.dW2[h][First + o];
            }
    }

    void store_weights(Vedero_network& net) const
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Half; ++o) {
                net.W2[h][First + o] = W2[h][o];
                net.dW2[h][First + o] = dW2[h][o];
            }
    }

    void store_vectors(Vedero_network& net) const
    {
        for (int o = 0; o < Half; ++o) {
            net.Sout[First + o] = Sout[o];
            net.Delta_out[First + o] = Delta_out[o];
        }
    }

    // One image: outputs, error terms and the update of the half's 130
    // weights.
    void train(const double* Sh, const double* target, double Learning_rate)
    {
        // The sums over h advance side by side, each in the order h = 0..25.
        double sum[Half];
        for (int o = 0; o < Half; ++o) sum[o] = 0.0;
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Half; ++o) sum[o] = add_product(sum[o], Sh[h], W2[h][o]);
        Extended rate_delta[Half];
        for (int o = 0; o < Half; ++o) {
            Sout[o] = fast_sigmoid(sum[o]);
            Delta_out[o] = error_term(target[First + o], Sout[o]);
            // Learning_rate x Delta_out[o], the first product of every
            // increment of column o, held in extended as it is formed.
            rate_delta[o] = static_cast<Extended>(Learning_rate) * Delta_out[o];
        }
        for (int o = 0; o < Half; ++o) {
            const Extended rd = rate_delta[o];
            for (int h = 0; h <= Neurons; ++h) {
                dW2[h][o] = static_cast<double>(rd * Sh[h]);
                // Read the increment back from its double, so that the
                // rounding store is the store into dW2.
                asm("" : "+m"(dW2[h][o]));
                W2[h][o] = sum_rounded(W2[h][o], dW2[h][o]);
            }
        }
    }
};

// Waits until image m is cleared for the second half; false when the
// stretch ended before it.
bool wait_for(const std::atomic<int>& cleared, const std::atomic<int>& last, int m)
{
    for (int spins = 0; cleared.load(std::memory_order_acquire) < m; ++spins) {
        if (last.load(std::memory_order_acquire) < m) return false;
        if (spins < 4000)
            __builtin_ia32_pause();
        else
            std::this_thread::yield();
    }
    return true;
}

}  // namespace

// Both halves, with what the trainer keeps of the stretch in progress.
struct Output_trainer::Halves {
    Output_half<0> low;
    Output_half<Half> high;
    double Learning_rate = 0;
    const double* hidden = nullptr;
    const std::uint8_t* hidden_overflowed = nullptr;
    int last_image = 0;
    int count = 0;
    // The halves as the stretch in progress found them.
    Output_half<0> saved_low;
    Output_half<Half> saved_high;
};

Output_trainer::Output_trainer(Engine_workspace& ws, Vedero_network& net, const Run_control& run,
                               const Pattern_datasets& datasets)
    : ws_(ws), net_(net), run_(run), datasets_(datasets), halves_(std::make_unique<Halves>())
{
    halves_->count = ws.counts.train;
    reload();
}

Output_trainer::~Output_trainer() = default;

int Output_trainer::train_from(int k, Training_pace& pace)
{
    if (pace.free_running()) return train_free(k, pace);
    Halves& h = *halves_;
    h.saved_low = h.low;
    h.saved_high = h.high;
    std::atomic<int> cleared{k - 1};   // images the second half may train
    std::atomic<int> last{INT_MAX};    // the last image of this stretch, once known
    std::atomic<int> high_overflow{0};
    int trained = k - 1;
    int pause_due = 0;
    bool overflow = false;
    std::exception_ptr pace_error;

    // This thread asks the pace and trains outputs 0..4; the other follows
    // with outputs 5..9.
#pragma omp parallel num_threads(2) if (omp_get_max_threads() >= 2)
    {
        const Fp_mode_scope mode;
        clear_overflow();
        if (omp_get_thread_num() == 0) {
            const bool alone = omp_get_num_threads() == 1;
            try {
                for (int m = k;; ++m) {
                    if (m > k && pace.pause_due()) {
                        pause_due = m;
                        break;
                    }
                    cleared.store(m, std::memory_order_release);
                    const double* Sh = h.hidden + static_cast<std::size_t>(m) * Hidden_width;
                    const double* target = datasets_.Train_targets[m];
                    h.low.train(Sh, target, h.Learning_rate);
                    if (alone) h.high.train(Sh, target, h.Learning_rate);
                    trained = m;
                    if (h.hidden_overflowed[m] || overflow_raised() ||
                        high_overflow.load(std::memory_order_relaxed)) {
                        overflow = true;
                        break;
                    }
                    if (m >= h.count || pace.stop_requested()) break;
                }
            } catch (...) {
                pace_error = std::current_exception();
            }
            last.store(trained, std::memory_order_release);
        } else {
            for (int m = k;; ++m) {
                if (!wait_for(cleared, last, m)) break;
                h.high.train(h.hidden + static_cast<std::size_t>(m) * Hidden_width, datasets_.Train_targets[m],
                             h.Learning_rate);
                if (overflow_raised()) {
                    high_overflow.store(m, std::memory_order_relaxed);
                    break;
                }
            }
        }
    }
    if (pace_error) {
        if (trained >= k) h.last_image = trained;
        store();
        std::rethrow_exception(pace_error);
    }
    if (overflow || high_overflow.load()) retrain_to_overflow(k, trained);
    if (trained >= k) h.last_image = trained;
    return pause_due;
}

void Output_trainer::retrain_to_overflow(int k, int trained)
{
    // Either half may have run past the image that overflowed; train the
    // stretch again on this thread and stop at that image.
    Halves& h = *halves_;
    h.low = h.saved_low;
    h.high = h.saved_high;
    clear_overflow();
    for (int m = k; m <= trained; ++m) {
        const double* Sh = h.hidden + static_cast<std::size_t>(m) * Hidden_width;
        h.low.train(Sh, datasets_.Train_targets[m], h.Learning_rate);
        h.high.train(Sh, datasets_.Train_targets[m], h.Learning_rate);
        h.last_image = m;
        if (h.hidden_overflowed[m] || overflow_raised()) break;
    }
    store();
    throw Overflow_error();
}

int Output_trainer::train_free(int k, Training_pace& pace)
{
    // Output o's sum, error term and column of W2 involve no other output,
    // so each half trains its images in order without waiting for the
    // other: W2 comes out as the lockstep training makes it. The halves
    // stop independently at a stop, each after some image; the one behind
    // then trains up to the other's, which is where a stop asked a moment
    // later would have ended both. An overflow shows in the flags at the
    // end (images after it only compute with infinities or NaN), and the
    // stretch is then trained again, in lockstep, up to it.
    Halves& h = *halves_;
    h.saved_low = h.low;
    h.saved_high = h.high;
    int end[2] = {k - 1, k - 1};
    bool overflow[2] = {false, false};
    const auto train_half = [&](auto& half, int t) {
        int m = k;
        for (;; ++m) {
            half.train(h.hidden + static_cast<std::size_t>(m) * Hidden_width, datasets_.Train_targets[m],
                       h.Learning_rate);
            if (h.hidden_overflowed[m] || m >= h.count || pace.stop_requested()) break;
        }
        end[t] = m;
        overflow[t] = overflow_raised() || h.hidden_overflowed[m];
    };
#pragma omp parallel num_threads(2) if (omp_get_max_threads() >= 2)
    {
        const Fp_mode_scope mode;
        clear_overflow();
        if (omp_get_num_threads() == 1) {
            // One thread: both halves image by image, as the lockstep does.
            int m = k;
            for (;; ++m) {
                const double* Sh = h.hidden + static_cast<std::size_t>(m) * Hidden_width;
                h.low.train(Sh, datasets_.Train_targets[m], h.Learning_rate);
                h.high.train(Sh, datasets_.Train_targets[m], h.Learning_rate);
                if (h.hidden_overflowed[m] || m >= h.count || pace.stop_requested()) break;
            }
            end[0] = end[1] = m;
            overflow[0] = overflow_raised() || h.hidden_overflowed[m];
        } else if (omp_get_thread_num() == 0) {
            train_half(h.low, 0);
        } else {
            train_half(h.high, 1);
        }
    }
    const int trained = std::max(end[0], end[1]);
    if (overflow[0] || overflow[1]) retrain_to_overflow(k, trained);
    clear_overflow();
    const auto catch_up = [&](auto& half, int from) {
        for (int m = from; m <= trained; ++m)
            half.train(h.hidden + static_cast<std::size_t>(m) * Hidden_width, datasets_.Train_targets[m],
                       h.Learning_rate);
    };
    catch_up(h.low, end[0] + 1);
    catch_up(h.high, end[1] + 1);
    if (overflow_raised()) retrain_to_overflow(k, trained);
    h.last_image = trained;
    return 0;
}

void Output_trainer::store()
{
    const Halves& h = *halves_;
    h.low.store_weights(net_);
    h.high.store_weights(net_);
    if (h.last_image == 0) return;
    build_input_vector(datasets_, datasets_.Train_images[h.last_image], net_.Y);
    std::memcpy(net_.Sh, h.hidden + static_cast<std::size_t>(h.last_image) * Hidden_width, sizeof net_.Sh);
    h.low.store_vectors(net_);
    h.high.store_vectors(net_);
}

void Output_trainer::reload()
{
    Halves& h = *halves_;
    h.low.load(net_);
    h.high.load(net_);
    h.Learning_rate = run_.Learning_rate;
    refresh_train_hidden(ws_, net_, datasets_);
    h.hidden = train_hidden_rows(ws_);
    h.hidden_overflowed = ws_.hidden_overflowed.data();
    clear_overflow();
}

void output_layer(const double* Sh, const double (*W2)[Outputs], double* Sout)
{
    // Sout[o] sums over h in order; the ten sums are independent, so they
    // advance side by side.
    double sum[Outputs];
    for (int o = 0; o < Outputs; ++o) sum[o] = 0.0;
    for (int h = 0; h <= Neurons; ++h)
        for (int o = 0; o < Outputs; ++o) sum[o] = add_product(sum[o], Sh[h], W2[h][o]);
    for (int o = 0; o < Outputs; ++o) Sout[o] = fast_sigmoid(sum[o]);
}

void test_network(Engine_workspace& ws, Vedero_network& net, Run_control& run, const Pattern_datasets& datasets)
{
    run.Correct_count = 0;
    run.Tested_count = 0;
    const Raw_sums& raw = current_test_raw_sums(ws, net, datasets);
    const int count = ws.counts.test;
    // Bit 0: predicted right; bit 1: the image's arithmetic overflowed.
    std::vector<std::uint8_t>& outcome = ws.test_outcome;
    outcome.assign(static_cast<std::size_t>(count) + 1, 0);

    // The images are independent: only the counting below is in order.
    for_each_image(
        count,
        [&](int k) {
            double Sh[Neurons + 1];
            double Sout[Outputs];
            hidden_from_raw(net, &raw.sums[static_cast<std::size_t>(k) * Neurons], Sh);
            output_layer(Sh, net.W2, Sout);
            outcome[k] = (datasets.Test_labels[k] == predicted_digit(Sout) ? 1 : 0) | (raw.overflowed[k] ? 2 : 0);
        },
        [&](int k) { outcome[k] |= 2; });

    // Y, Sh and Sout as the last image tested leaves them.
    auto leave_image = [&](int k) {
        build_input_vector(datasets, datasets.Test_images[k], net.Y);
        hidden_from_raw(net, &raw.sums[static_cast<std::size_t>(k) * Neurons], net.Sh);
        output_layer(net.Sh, net.W2, net.Sout);
    };
    for (int k = 1; k <= count; ++k) {
        run.Tested_count = run.Tested_count + 1;
        if (outcome[k] & 1) run.Correct_count = run.Correct_count + 1;
        if (outcome[k] & 2) {
            leave_image(k);
            throw Overflow_error();
        }
    }
    run.Accuracy = percentage(run.Correct_count, run.Tested_count);
    if (count >= 1) leave_image(count);
}

}  // namespace vantel
