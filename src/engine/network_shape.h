// The shape of the VedEro and of its datasets: the sizes a caller of the
// computation API may need (series lengths, W2's cells) and the kernels'
// array bounds.
#pragma once

namespace vantel {

inline constexpr int Max_N = 19625;        // largest series length = cells of W1
inline constexpr int Train_count = 60000;  // training images
inline constexpr int Test_count = 10000;   // test images
inline constexpr int Last_input = 784;     // inputs 0..784, 0 is the bias
inline constexpr int Neurons = 25;         // reservoir neurons 1..25
inline constexpr int Outputs = 10;         // output neurons 0..9
inline constexpr int Record_bytes = 785;   // image record: bias byte + 784 pixels
inline constexpr int Image_side = 28;

// Series lengths a network takes: W1 has 785 x 25 = 19625 cells.
inline constexpr int Min_series_length = 5;
inline constexpr int Max_series_length = Max_N;

// W2 holds a weight from each hidden value (bias included) to each output.
inline constexpr int W2_cells = (Neurons + 1) * Outputs;

}  // namespace vantel
