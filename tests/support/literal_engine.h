// The literal engine: steps 5, 7 and 8 written out exactly as the algorithm
// reads, image by image, input by input, with no caches, no threads and no
// window. It is slow on purpose; the tests hold the program's engine to its
// results bit for bit.
#pragma once

#include <functional>
#include <string>

#include "engine/engine_workspace.h"
#include "model/program_state.h"

namespace vantel::test {

// Called where step 7 may pump: at the start of every epoch (image 0) and at
// the start of every image k, before it is trained. A test does here what a
// handler run inside the pump would do (set Stop_requested, change W1, ...).
using Literal_pump = std::function<void(Program_state&, int epoch, int image)>;

// Sh[j] = the raw sum of neuron j for the Y in the state.
void literal_raw_sum(Program_state& state, int j);
// Sh[j] = its normalized value with centring value c.
void literal_normalize(Program_state& state, int j, double c);
// The reservoir forward pass: Sh[0..25] from Y.
void literal_forward(Program_state& state);
// Sout[0..9] from Sh.
void literal_output_layer(Program_state& state);

// Each step throws Vantel_error("Floating point overflow") after the image
// whose arithmetic overflowed, leaving the state as that image left it.
void literal_step_5(Program_state& state, Image_counts counts = {});
// `epochs` epochs from the current W2, leaving early on Stop_requested.
void literal_step_7(Program_state& state, int epochs, const Literal_pump& pump = {},
                    Image_counts counts = {});
void literal_step_8(Program_state& state, Image_counts counts = {});

// Bitwise-equal except for the sign of zeros (-0.0 == 0.0), NaN matching
// NaN. Returns the first index that differs, or -1.
int first_difference(const double* a, const double* b, int count);

// Every field steps 5, 7 and 8 write, compared element by element; `what`
// names the comparison in failure messages.
void expect_same_network(const Program_state& expected, const Program_state& actual, const std::string& what);

}  // namespace vantel::test
