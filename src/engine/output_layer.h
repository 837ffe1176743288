// The output layer of the VedEro, shared by training and testing.
#pragma once

#include "engine/engine_state.h"

namespace vantel {

// Sout[o] = sigmoid(sum over h = 0..25 of Sh[h] x W2[h][o]), the sum rounded
// after every addition.
void output_layer(const double* Sh, const double (*W2)[Outputs], double* Sout);

}  // namespace vantel
