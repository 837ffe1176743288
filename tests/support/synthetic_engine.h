// Small synthetic worlds for the tests of the engine and of the step
// handlers: a few thousand random sparse images, random labels and
// reservoir matrices shaped to hit the edges of the normalization. The
// steps walk only the first images, so the literal engine can recompute
// every result within a fraction of a second.
#pragma once

#include <memory>
#include <string>

#include "engine/engine_workspace.h"
#include "model/program_state.h"
#include "model/step_handlers.h"
#include "support/test_program.h"

namespace vantel::test {

inline constexpr Image_counts Small_counts{1500, 400};

// Random images (about one pixel in five inked), one-hot targets and test
// labels, a row-by-row T-pattern with two entries outside the image (they
// feed 0), and a new identity.
void fill_synthetic_datasets(Program_state& state, unsigned seed);

// W1 shapes. Random: mixed signs and scales in every column. Edges: column 1
// all zero, column 2 all negative, column 3 far above 100, columns 4, 5, 6
// the bias alone (every raw sum 42, -7 and 250), column 7 huge but finite,
// the others random.
void fill_random_W1(Program_state& state, unsigned seed);
void fill_edge_W1(Program_state& state, unsigned seed);

// The state as step 3 leaves the output layer: W2 0.5, dW2 0.
void reset_output_layer(Program_state& state);

// A program on synthetic data whose steps walk Small_counts images, with a
// clock that the test moves by hand.
struct Small_world {
    explicit Small_world(unsigned seed = 1);
    std::unique_ptr<Program_state> copy() const { return std::make_unique<Program_state>(*program.state); }

    Test_program program;
    Session& session = program.session;
    Fake_window& window = program.window;
    Program_state& state = *program.state;
    Date_time clock = 0;
    int clock_reads = 0;
};

// A world after step 5, with the clock reading 0 until a test moves it.
struct Trained_world : Small_world {
    explicit Trained_world(unsigned seed = 1) : Small_world(seed)
    {
        session.trigger(Control::Button_Step_5);
        state.run.Epochs = 1;
    }

    // The clock jumps 10 seconds ahead when image k of epoch `epoch` reads
    // it (undisturbed by earlier time pumps), so that exactly one time pump
    // happens, at the start of that image.
    void jump_clock_at(int epoch, int k)
    {
        const int read = 1 + (epoch - 1) * Small_counts.train + k;
        session.now = [this, read] {
            ++clock_reads;
            return clock_reads >= read ? 10 * state.run.One_second : 0.0;
        };
    }
};

}  // namespace vantel::test
