// Raw sums computed once per distinct column of W1.
//
// Two neurons whose columns of W1 hold the same 785 doubles, bit for bit,
// have the same raw sum on every image: the sum's terms and their order are
// the same. Short series often fill W1 with repeated columns (method 2 with
// N up to 785 gives one column 25 times), so each distinct column is summed
// once and its sums copied to the neurons that share it. Columns are
// compared bit for bit: -0.0 and +0.0 make different columns, although they
// would give the same sums but for the sign of a zero.
#pragma once

#include <cstdint>

#include "engine/engine_workspace.h"

namespace vantel {

struct Distinct_columns {
    int count = 0;                  // how many distinct columns W1 has
    int neuron[Neurons] = {};       // neuron (1..25) whose column is distinct column c
    int column_of[Neurons + 1] = {};  // distinct column c of neuron j (1..25)
};

// The distinct columns of W1 in neuron order: a column is distinct unless an
// earlier neuron's column has the same bits.
Distinct_columns distinct_columns(const double (*W1)[Neurons + 1]);

// The 25 raw sums of images first..last into rows [k x 25] of `sums`, each
// distinct column summed once per image, with the terms of every sum in the
// order raw_sums_of_image adds them; overflowed[k] is set to 1 for an image
// whose sums left the double range (and left as it is otherwise). W1 must
// hold finite values only. Chains of several images advance side by side
// when there are few distinct columns, so that the extended-precision unit
// always has independent work.
void raw_sums_by_distinct_columns(const double (*W1)[Neurons + 1], const Distinct_columns& columns,
                                  const Sparse_images& sparse, int first, int last, double* sums,
                                  std::uint8_t* overflowed);

}  // namespace vantel
