// Steps 7 and 8: training the output layer image by image, and testing it.
#pragma once

#include <memory>

#include "engine/engine_state.h"
#include "engine/engine_workspace.h"

namespace vantel {

// The rate step 7 trains with.
inline constexpr double Training_rate = 0.2;

// What training asks whoever drives it, between two images.
class Training_pace {
public:
    virtual ~Training_pace() = default;
    // Asked before every image but the first of a stretch; true ends the
    // stretch before that image, so that the driver can pause there (the
    // window handles its messages, and the network may change meanwhile).
    virtual bool pause_due() = 0;
    // Asked after every image; true ends the stretch after it. Both are
    // asked on the thread that called train_from.
    virtual bool stop_requested() = 0;
};

// The training loop's working copy of W2, dW2 and the last image's vectors.
// Between two pauses nothing else can change the network, so with two
// threads the two halves of the output layer train side by side, one on
// each; with one, the ten outputs of each image train interleaved (see
// Output_block in the .cpp). The window's steps and the computation API
// train through the same loop; only their paces differ.
class Output_trainer {
public:
    // Reads the network, the learning rate and the hidden vectors (made
    // first when stale); `run` must outlive the trainer.
    Output_trainer(Engine_workspace& ws, Vedero_network& net, const Run_control& run,
                   const Pattern_datasets& datasets);
    ~Output_trainer();
    Output_trainer(const Output_trainer&) = delete;
    Output_trainer& operator=(const Output_trainer&) = delete;

    // Trains images k, k + 1, ... (k >= 1) until the last training image, a
    // stop or a due pause. Returns the image before which a pause is due, or
    // 0 when the stretch ended with the last image or a stop. Throws
    // Overflow_error after the image whose arithmetic left the double range,
    // with the network stored as that image left it; an error of the pace is
    // passed on likewise.
    int train_from(int k, Training_pace& pace);

    // The network as the image-by-image algorithm leaves it: W2, dW2, and Y,
    // Sh, Sout, Delta_out of the last image trained.
    void store();
    // Reads W2, dW2 and the learning rate from the network again, and brings
    // the hidden vectors up to date: after a pause, in which anything may
    // have changed.
    void reload();

private:
    struct Layer;
    struct Stretch;
    // Images k.. on this thread, all ten outputs at once, up to image
    // `last`, an overflow, or (with a pace) a due pause or a stop.
    Stretch train_alone(int k, int last, Training_pace* pace);
    // Images k.. with a half of the outputs on each of two threads.
    Stretch train_in_halves(int k, Training_pace& pace);
    Engine_workspace& ws_;
    Vedero_network& net_;
    const Run_control& run_;
    const Pattern_datasets& datasets_;
    std::unique_ptr<Layer> layer_;
};

// Step 8: classifies the test images with the network, counting in
// run.Tested_count and run.Correct_count, and sets run.Accuracy. Y, Sh and
// Sout are left as the last image tested leaves them. Throws Overflow_error
// after the image whose arithmetic left the double range (the counts then
// include it).
void test_network(Engine_workspace& ws, Vedero_network& net, Run_control& run, const Pattern_datasets& datasets);

}  // namespace vantel
