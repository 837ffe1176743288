// Steps 3 and 4: the network's starting state, and W1 filled from the series.
#pragma once

#include "engine/engine_state.h"

namespace vantel {

// Step 3: every vector and W1 zero, dW2 zero, every cell of W2 0.5.
void reset_network(Vedero_network& net);

// Step 4: W1 from xn[1..n] (5 <= n <= 19625) by fill method 1..6; any other
// method leaves W1 as it is. Methods 1 and 4 start the series again when it
// runs out, 2 and 5 leave the rest of a line as it is, 3 and 6 stretch the
// series over the matrix by straight lines between its samples; 1..3 visit
// the matrix column by column (neuron by neuron), 4..6 row by row (input by
// input). Throws Overflow_error when a stretched cell leaves the double
// range; W1 then holds no infinity.
void fill_reservoir(Vedero_network& net, const double* xn, int n, int method);

// The segment of the stretched series that holds position p: the smallest k
// in 1..n - 1 with p <= grid[k], or n when there is none. `from` is the
// answer for an earlier, smaller position (1 to scan from the start), so a
// fill that visits the positions in rising order searches each grid point once.
int find_segment(const double* grid, int n, int p, int from);

}  // namespace vantel
