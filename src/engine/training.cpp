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

// Outputs First..First + Count - 1 with their own copy of W2. Output o's
// sum, error term and column W2[.][o] involve no other output, so the
// outputs may train in any grouping: all ten side by side on one thread
// (their chains interleaved keep the extended-precision unit busy), or a
// half on each of two cores, in separate cache lines so that the two
// threads never share one. Every grouping gives the same W2, bit for bit.
template <int First, int Count>
struct alignas(64) Output_block {
    double W2[Neurons + 1][Count];
    double dW2[Neurons + 1][Count];
    double Sout[Count] = {};
    double Delta_out[Count] = {};

    void load(const Vedero_network& net)
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Count; ++o) {
                W2[h][o] = net.W2[h][First + o];
                dW2[h][o] = net.dW2[h][First + o];
            }
    }

    void store_weights(Vedero_network& net) const
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Count; ++o) {
                net.W2[h][First + o] = W2[h][o];
                net.dW2[h][First + o] = dW2[h][o];
            }
    }

    void store_vectors(Vedero_network& net) const
    {
        for (int o = 0; o < Count; ++o) {
            net.Sout[First + o] = Sout[o];
            net.Delta_out[First + o] = Delta_out[o];
        }
    }

    // The outputs of `part` (a block within this one) from this block, or
    // back into it.
    template <int F, int C>
    void split_into(Output_block<F, C>& part) const
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < C; ++o) {
                part.W2[h][o] = W2[h][F - First + o];
                part.dW2[h][o] = dW2[h][F - First + o];
            }
        for (int o = 0; o < C; ++o) {
            part.Sout[o] = Sout[F - First + o];
            part.Delta_out[o] = Delta_out[F - First + o];
        }
    }
    template <int F, int C>
    void merge_from(const Output_block<F, C>& part)
    {
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < C; ++o) {
                W2[h][F - First + o] = part.W2[h][o];
                dW2[h][F - First + o] = part.dW2[h][o];
            }
        for (int o = 0; o < C; ++o) {
            Sout[F - First + o] = part.Sout[o];
            Delta_out[F - First + o] = part.Delta_out[o];
        }
    }

    // One image: outputs, error terms and the update of the block's
    // weights.
    void train(const double* Sh, const double* target, double Learning_rate)
    {
        // The sums over h advance side by side, each in the order h = 0..25.
        double sum[Count];
        for (int o = 0; o < Count; ++o) sum[o] = 0.0;
        for (int h = 0; h <= Neurons; ++h)
            for (int o = 0; o < Count; ++o) sum[o] = add_product(sum[o], Sh[h], W2[h][o]);
        fast_sigmoids<Count>(sum, Sout);
        for (int o = 0; o < Count; ++o) Delta_out[o] = error_term(target[First + o], Sout[o]);
        for (int o = 0; o < Count; ++o) {
            // Learning_rate x Delta_out[o], the first product of every
            // increment of column o, held in extended as it is formed. It
            // is formed here from the stored double rather than kept from
            // the loop above: ten extended values do not fit the x87
            // registers, and storing and reloading them costs more than the
            // one multiplication.
            const Extended rd = static_cast<Extended>(Learning_rate) * Delta_out[o];
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

using All_outputs = Output_block<0, Outputs>;
using Low_half = Output_block<0, Half>;
using High_half = Output_block<Half, Half>;

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

// The output layer as the trainer keeps it between stretches, and what a
// stretch on two threads works on.
struct Output_trainer::Layer {
    All_outputs all;
    Low_half low;
    High_half high;
    double Learning_rate = 0;
    const double* hidden = nullptr;
    const std::uint8_t* hidden_overflowed = nullptr;
    int last_image = 0;
    int count = 0;
    // The layer as the stretch in progress found it.
    All_outputs saved;

    const double* Sh(int m) const { return hidden + static_cast<std::size_t>(m) * Hidden_width; }
};

// How a stretch ended: its last image trained, the image before which a
// pause is due (0: none), an overflow at the last image, or an error of
// the pace.
struct Output_trainer::Stretch {
    int trained = 0;
    int pause_due = 0;
    bool overflow = false;
    std::exception_ptr error;
};

Output_trainer::Output_trainer(Engine_workspace& ws, Vedero_network& net, const Run_control& run,
                               const Pattern_datasets& datasets)
    : ws_(ws), net_(net), run_(run), datasets_(datasets), layer_(std::make_unique<Layer>())
{
    layer_->count = ws.counts.train;
    reload();
}

Output_trainer::~Output_trainer() = default;

Output_trainer::Stretch Output_trainer::train_alone(int k, int last, Training_pace* pace)
{
    // Every image's ten outputs side by side; the overflow flag is read
    // after each image, so a stretch that overflows ends at that image.
    Layer& l = *layer_;
    Stretch s;
    s.trained = k - 1;
    clear_overflow();
    try {
        for (int m = k;; ++m) {
            if (pace && m > k && pace->pause_due()) {
                s.pause_due = m;
                break;
            }
            l.all.train(l.Sh(m), datasets_.Train_targets[m], l.Learning_rate);
            s.trained = m;
            if (l.hidden_overflowed[m] || overflow_raised()) {
                s.overflow = true;
                break;
            }
            if (m >= last || (pace && pace->stop_requested())) break;
        }
    } catch (...) {
        s.error = std::current_exception();
    }
    return s;
}

Output_trainer::Stretch Output_trainer::train_in_halves(int k, Training_pace& pace)
{
    // This thread asks the pace and trains outputs 0..4; the other follows
    // with outputs 5..9, never ahead of the first, so that a pause or a
    // stop ends both after the same image. The first does not wait for the
    // second, which may still be training earlier images when the first
    // sees an overflow of its own or of the second half: the stretch is then
    // trained again on one thread up to the image that overflowed.
    Layer& l = *layer_;
    std::atomic<int> cleared{k - 1};   // images the second half may train
    std::atomic<int> last{INT_MAX};    // the last image of this stretch, once known
    std::atomic<int> high_overflow{0};
    Stretch s;
    s.trained = k - 1;
    bool two = true;
    l.all.split_into(l.low);
    l.all.split_into(l.high);
#pragma omp parallel num_threads(2)
    {
        const Fp_mode_scope mode;
        clear_overflow();
        if (omp_get_num_threads() == 1) {
            two = false;
            s = train_alone(k, l.count, &pace);
        } else if (omp_get_thread_num() == 0) {
            try {
                for (int m = k;; ++m) {
                    if (m > k && pace.pause_due()) {
                        s.pause_due = m;
                        break;
                    }
                    cleared.store(m, std::memory_order_release);
                    l.low.train(l.Sh(m), datasets_.Train_targets[m], l.Learning_rate);
                    s.trained = m;
                    if (l.hidden_overflowed[m] || overflow_raised() ||
                        high_overflow.load(std::memory_order_relaxed)) {
                        s.overflow = true;
                        break;
                    }
                    if (m >= l.count || pace.stop_requested()) break;
                }
            } catch (...) {
                s.error = std::current_exception();
            }
            last.store(s.trained, std::memory_order_release);
        } else {
            for (int m = k;; ++m) {
                if (!wait_for(cleared, last, m)) break;
                l.high.train(l.Sh(m), datasets_.Train_targets[m], l.Learning_rate);
                if (overflow_raised()) {
                    high_overflow.store(m, std::memory_order_relaxed);
                    break;
                }
            }
        }
    }
    if (!two) return s;
    l.all.merge_from(l.low);
    l.all.merge_from(l.high);
    if (high_overflow.load()) s.overflow = true;
    if (s.overflow && !s.error) {
        // Either half may have run past the image that overflowed.
        l.all = l.saved;
        const Fp_mode_scope mode;
        s = train_alone(k, s.trained, nullptr);
    }
    return s;
}

int Output_trainer::train_from(int k, Training_pace& pace)
{
    Layer& l = *layer_;
    l.saved = l.all;
    Stretch s;
    if (omp_get_max_threads() >= 2) {
        s = train_in_halves(k, pace);
    } else {
        const Fp_mode_scope mode;
        s = train_alone(k, l.count, &pace);
    }
    if (s.trained >= k) l.last_image = s.trained;
    if (s.error) {
        store();
        std::rethrow_exception(s.error);
    }
    if (s.overflow) {
        store();
        throw Overflow_error();
    }
    return s.pause_due;
}

void Output_trainer::store()
{
    const Layer& l = *layer_;
    l.all.store_weights(net_);
    if (l.last_image == 0) return;
    build_input_vector(datasets_, datasets_.Train_images[l.last_image], net_.Y);
    std::memcpy(net_.Sh, l.Sh(l.last_image), sizeof net_.Sh);
    l.all.store_vectors(net_);
}

void Output_trainer::reload()
{
    Layer& l = *layer_;
    l.all.load(net_);
    l.Learning_rate = run_.Learning_rate;
    refresh_train_hidden(ws_, net_, datasets_);
    l.hidden = train_hidden_rows(ws_);
    l.hidden_overflowed = ws_.hidden_overflowed.data();
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
    fast_sigmoids<Outputs>(sum, Sout);
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
