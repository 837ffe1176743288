// Steps 7 and 8: the output layer trained image by image, then tested.
#include "engine/training.h"

#include <omp.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

#include "base/date_time.h"
#include "engine/datasets.h"
#include "engine/engine_workspace.h"
#include "engine/extended_arithmetic.h"
#include "engine/output_layer.h"

namespace vantel {

namespace {

constexpr int Hidden_width = Neurons + 1;

// The overflow ends the step; its button is enabled again so that the user
// can retry once the series has been changed.
[[noreturn]] void fail_with_overflow(Session& session, Control button)
{
    session.window.set_enabled(button, true);
    throw Vantel_error(Overflow_text);
}

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
            Sout[o] = sigmoid(sum[o]);
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

// The training loop's working copy of W2 and of the last image's vectors.
// Engine_state is brought up to date before every pump, since a handler run
// inside it may read or change these fields, and read back after it.
class Trainer {
public:
    explicit Trainer(Session& session)
        : session_(session),
          state_(session.state),
          datasets_(session.datasets()),
          count_(engine_workspace(session).counts.train)
    {
        reload();
    }

    void pump()
    {
        store();
        session_.window.pump();
        reload();
    }

    // Trains images k, k + 1, ... whose elapsed-time test finds no pump due
    // (image k's test has been made by the caller). Returns the image whose
    // test asks for a pump, with its clock reading in `now`, or 0 when the
    // image loop is over. Between two pumps nothing else can change the
    // state, so the two halves run on two threads: this one reads the
    // clock and trains outputs 0..4, the other follows with outputs 5..9.
    int train_from(int k, Date_time& now)
    {
        const Run_control& run = state_.run;
        const auto saved_low = low_;
        const auto saved_high = high_;
        std::atomic<int> cleared{k - 1};   // images the second half may train
        std::atomic<int> last{INT_MAX};    // the last image of this stretch, once known
        std::atomic<int> high_overflow{0};
        int trained = k - 1;
        int pump_due = 0;
        bool overflow = false;
        std::exception_ptr clock_error;

#pragma omp parallel num_threads(2) if (omp_get_max_threads() >= 2)
        {
            clear_overflow();
            if (omp_get_thread_num() == 0) {
                const bool alone = omp_get_num_threads() == 1;
                try {
                    for (int m = k;; ++m) {
                        if (m > k) {
                            const Date_time reading = session_.now();
                            if (static_cast<Extended>(reading) - run.Last_time_update > run.One_second) {
                                pump_due = m;
                                now = reading;
                                break;
                            }
                        }
                        cleared.store(m, std::memory_order_release);
                        const double* Sh = hidden_ + static_cast<std::size_t>(m) * Hidden_width;
                        const double* target = datasets_.Train_targets[m];
                        low_.train(Sh, target, Learning_rate_);
                        if (alone) high_.train(Sh, target, Learning_rate_);
                        trained = m;
                        if (hidden_overflowed_[m] || overflow_raised() ||
                            high_overflow.load(std::memory_order_relaxed)) {
                            overflow = true;
                            break;
                        }
                        if (m >= count_ || run.Stop_requested) break;
                    }
                } catch (...) {
                    clock_error = std::current_exception();
                }
                last.store(trained, std::memory_order_release);
            } else {
                for (int m = k;; ++m) {
                    if (!wait_for(cleared, last, m)) break;
                    high_.train(hidden_ + static_cast<std::size_t>(m) * Hidden_width,
                                datasets_.Train_targets[m], Learning_rate_);
                    if (overflow_raised()) {
                        high_overflow.store(m, std::memory_order_relaxed);
                        break;
                    }
                }
            }
        }
        if (clock_error) {
            if (trained >= k) last_image_ = trained;
            store();
            std::rethrow_exception(clock_error);
        }
        if (overflow || high_overflow.load()) {
            // Either half may have run past the image that overflowed; train
            // the stretch again on this thread and stop at that image.
            low_ = saved_low;
            high_ = saved_high;
            clear_overflow();
            for (int m = k; m <= trained; ++m) {
                const double* Sh = hidden_ + static_cast<std::size_t>(m) * Hidden_width;
                low_.train(Sh, datasets_.Train_targets[m], Learning_rate_);
                high_.train(Sh, datasets_.Train_targets[m], Learning_rate_);
                last_image_ = m;
                if (hidden_overflowed_[m] || overflow_raised()) break;
            }
            store();
            fail_with_overflow(session_, Control::Button_Step_7);
        }
        if (trained >= k) last_image_ = trained;
        return pump_due;
    }

    // Engine_state as the image-by-image algorithm leaves it: W2, dW2, and
    // Y, Sh, Sout, Delta_out of the last image trained.
    void store()
    {
        Vedero_network& net = state_.net;
        low_.store_weights(net);
        high_.store_weights(net);
        if (last_image_ == 0) return;
        build_input_vector(datasets_, datasets_.Train_images[last_image_], net.Y);
        std::memcpy(net.Sh, hidden_ + static_cast<std::size_t>(last_image_) * Hidden_width, sizeof net.Sh);
        low_.store_vectors(net);
        high_.store_vectors(net);
    }

private:
    // Waits until image m is cleared for the second half; false when the
    // stretch ended before it.
    static bool wait_for(const std::atomic<int>& cleared, const std::atomic<int>& last, int m)
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

    void reload()
    {
        low_.load(state_.net);
        high_.load(state_.net);
        Learning_rate_ = state_.run.Learning_rate;
        refresh_train_hidden(session_);
        const Engine_workspace& ws = engine_workspace(session_);
        hidden_ = train_hidden_rows(ws);
        hidden_overflowed_ = ws.hidden_overflowed.data();
        clear_overflow();
    }

    Session& session_;
    Engine_state& state_;
    const Pattern_datasets& datasets_;
    const int count_;
    Output_half<0> low_;
    Output_half<Half> high_;
    double Learning_rate_ = 0;
    const double* hidden_ = nullptr;
    const std::uint8_t* hidden_overflowed_ = nullptr;
    int last_image_ = 0;
};

}  // namespace

void output_layer(const double* Sh, const double (*W2)[Outputs], double* Sout)
{
    // Sout[o] sums over h in order; the ten sums are independent, so they
    // advance side by side.
    double sum[Outputs];
    for (int o = 0; o < Outputs; ++o) sum[o] = 0.0;
    for (int h = 0; h <= Neurons; ++h)
        for (int o = 0; o < Outputs; ++o) sum[o] = add_product(sum[o], Sh[h], W2[h][o]);
    for (int o = 0; o < Outputs; ++o) Sout[o] = sigmoid(sum[o]);
}

void Button_Step_7Click(Session& session)
{
    Window& window = session.window;
    Run_control& run = session.state.run;
    window.set_enabled(Control::Button_Step_7, false);
    session.step_pause();

    run.Learning_rate = 0.2;
    run.Last_time_update = session.now();
    run.Current_epoch = 0;
    Trainer trainer(session);
    for (;;) {
        run.Current_epoch = run.Current_epoch + 1;
        window.set_text(Control::Label_epoch, "Current epoch =" + std::to_string(run.Current_epoch));
        trainer.pump();
        Date_time now = session.now();
        for (int k = 1; k != 0;) {
            if (static_cast<Extended>(now) - run.Last_time_update > run.One_second) {
                window.set_text(Control::Label_Time, time_label(now, run.Run_start, run.One_second));
                trainer.pump();
                run.Last_time_update = session.now();
            }
            k = trainer.train_from(k, now);
        }
        if (run.Current_epoch == run.Epochs || run.Stop_requested) break;
    }
    trainer.store();
    window.set_enabled(Control::Button_Step_7, true);
}

void Button_Step_8Click(Session& session)
{
    session.window.set_enabled(Control::Button_Step_8, false);
    session.step_pause();

    Engine_state& state = session.state;
    const Pattern_datasets& datasets = session.datasets();
    state.run.Correct_count = 0;
    state.run.Tested_count = 0;
    const Raw_sums& raw = current_test_raw_sums(session);
    const Engine_workspace& ws = engine_workspace(session);
    const int count = ws.counts.test;
    // Bit 0: predicted right; bit 1: the image's arithmetic overflowed.
    std::vector<std::uint8_t>& outcome = engine_workspace(session).test_outcome;
    outcome.assign(static_cast<std::size_t>(count) + 1, 0);

    // The images are independent: only the counting below is in order.
#pragma omp parallel
    {
        clear_overflow();
        double Sh[Neurons + 1];
        double Sout[Outputs];
#pragma omp for schedule(dynamic, 256)
        for (int k = 1; k <= count; ++k) {
            hidden_from_raw(state.net, &raw.sums[static_cast<std::size_t>(k) * Neurons], Sh);
            output_layer(Sh, state.net.W2, Sout);
            std::uint8_t result = datasets.Test_labels[k] == predicted_digit(Sout) ? 1 : 0;
            if (raw.overflowed[k] || overflow_raised()) {
                result |= 2;
                clear_overflow();
            }
            outcome[k] = result;
        }
    }

    // Y, Sh and Sout as the last image tested leaves them.
    auto leave_image = [&](int k) {
        Vedero_network& net = state.net;
        build_input_vector(datasets, datasets.Test_images[k], net.Y);
        hidden_from_raw(net, &raw.sums[static_cast<std::size_t>(k) * Neurons], net.Sh);
        output_layer(net.Sh, net.W2, net.Sout);
    };
    for (int k = 1; k <= count; ++k) {
        state.run.Tested_count = state.run.Tested_count + 1;
        if (outcome[k] & 1) state.run.Correct_count = state.run.Correct_count + 1;
        if (outcome[k] & 2) {
            leave_image(k);
            fail_with_overflow(session, Control::Button_Step_8);
        }
    }
    state.run.Accuracy = percentage(state.run.Correct_count, state.run.Tested_count);
    if (count >= 1) leave_image(count);

    session.window.set_enabled(Control::Button_Step_8, true);
}

}  // namespace vantel
