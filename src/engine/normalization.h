// Step 5: each reservoir neuron's range over the training images and its
// mean over the first 1000.
#pragma once

#include "engine/engine_state.h"
#include "engine/engine_workspace.h"

namespace vantel {

// Sh_max, Sh_min and Sh_mean of every neuron from W1 and the training images
// (the workspace's image counts). Throws Overflow_error when an image's raw
// sums or normalized values leave the double range; Y and Sh are then as that
// image left them.
void measure_bounds(Engine_workspace& ws, Vedero_network& net, const Pattern_datasets& datasets);

}  // namespace vantel
