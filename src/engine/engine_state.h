// The engine's records: the pattern datasets, the network and the run's
// counters, which the kernels read and write in place; nothing passes
// between the steps in any other way. Index ranges are kept as the
// algorithm writes them: xn counts from 1, Y from 0, the neuron index of W1
// from 1, images from 1. Element 0 of a 1-based array is never used.
//
// The window keeps one of each in its own record; a Network of the
// computation API keeps a network of its own and shares read-only datasets
// with other networks.
//
// Zero-filling: a record is allocated value-initialized (std::make_unique<T>()),
// which zero-fills every member. The four image and label tables of
// Pattern_datasets (60 MB) have no default member initializer on purpose:
// datasets that loading fills whole are allocated default-initialized (new
// Pattern_datasets, without parentheses), so that the system commits their
// memory only as loading writes it. Every other member keeps its
// initializer and starts at zero either way.
#pragma once

#include <cstdint>
#include <string>

#include "engine/network_shape.h"

namespace vantel {

struct T_pair {
    std::int32_t row;
    std::int32_t column;
};

struct Pattern_datasets {
    // Train_images[k][s], k = 1..60000: s = 0 holds 1 (bias), the pixel in
    // row r, column c (1..28) is at s = 28 x (c - 1) + r (held transposed).
    std::uint8_t Train_images[Train_count + 1][Record_bytes];
    // Train_targets[k][d]: 1.0 when d is the label of training image k.
    double Train_targets[Train_count + 1][Outputs];
    std::uint8_t Test_images[Test_count + 1][Record_bytes];
    std::uint8_t Test_labels[Test_count + 1];
    // T_pattern_table[m], m = 1..784: the pixel (row, column) that feeds Y[m].
    T_pair T_pattern_table[Last_input + 1] = {};
    bool Datasets_pending = false;  // true until step 2 has completed once
    std::string Mnist_dir;          // ends with a path separator, or empty
    // Unique in the process, new whenever the images or the T-pattern
    // change (see mark_datasets_changed), so that anything computed from them
    // can tell whether it is stale, even across several records.
    std::uint64_t Identity = 0;
};

// Gives the datasets a new identity: call it after changing their contents.
void mark_datasets_changed(Pattern_datasets& datasets);

struct Vedero_network {
    double Y[Last_input + 1] = {};              // input vector, Y[0] = 1.0 bias
    double W1[Last_input + 1][Neurons + 1] = {};  // W1[i][j]: input i -> neuron j (1..25)
    double Grid_t[Max_N + 1] = {};              // stretched sample positions, methods 3 and 6
    double Sh[Neurons + 1] = {};                // hidden vector, Sh[0] = 1.0 bias
    double Sh_max[Neurons + 1] = {};
    double Sh_min[Neurons + 1] = {};
    double Sh_mean[Neurons + 1] = {};           // 1..25 used
    double W2[Neurons + 1][Outputs] = {};       // W2[h][o]: hidden h -> output o
    double dW2[Neurons + 1][Outputs] = {};      // last increment of each W2 cell
    double Sout[Outputs] = {};
    double Delta_out[Outputs] = {};
};

struct Run_control {
    std::int32_t Epochs = 0;
    double Learning_rate = 0;
    std::int32_t Current_epoch = 0;
    std::int32_t Correct_count = 0;
    std::int32_t Tested_count = 0;
    double Accuracy = 0;
    bool Stop_requested = false;
};

}  // namespace vantel
