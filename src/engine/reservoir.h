// Steps 3 and 4: the network's starting state, and W1 filled from xn.
#pragma once

#include "model/session.h"

namespace vantel {

void Button_Step_3Click(Session& session);
void Button_Step_4Click(Session& session);

// The segment of the stretched series that holds position p: the smallest k
// in 1..n - 1 with p <= grid[k], or n when there is none. `from` is the
// answer for an earlier, smaller position (1 to scan from the start), so a
// fill that visits the positions in rising order searches each grid point once.
int find_segment(const double* grid, int n, int p, int from);

}  // namespace vantel
