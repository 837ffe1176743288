// Engine_state: the one process-wide record of the entropy engine.
//
// Every step reads and writes this record in place; nothing passes between
// the steps in any other way. It is allocated once, zero-filled, and lives
// until the process ends. Index ranges are kept as the algorithm writes them:
// xn counts from 1, Y from 0, the neuron index of W1 from 1, images from 1.
// Element 0 of a 1-based array is never used.
//
// The record is split into sub-records so that the read-only pattern
// datasets can be shared by several networks.
//
// Zero-filling: the window and the tests allocate the record value-initialized
// (std::make_unique<Engine_state>()), which zero-fills every member. The four
// image and label tables of Pattern_datasets (60 MB) have no default member
// initializer on purpose: a network that works on datasets shared from
// another record is allocated default-initialized (new Engine_state, without
// parentheses), so that its own, never used tables are never written and the
// system never commits memory for them. Every other member keeps its
// initializer and starts at zero either way. Such a record must not be used
// with its own datasets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/date_time.h"

namespace vantel {

inline constexpr int Max_N = 19625;        // largest series length = cells of W1
inline constexpr int Train_count = 60000;  // training images
inline constexpr int Test_count = 10000;   // test images
inline constexpr int Last_input = 784;     // inputs 0..784, 0 is the bias
inline constexpr int Neurons = 25;         // reservoir neurons 1..25
inline constexpr int Outputs = 10;         // output neurons 0..9
inline constexpr int Record_bytes = 785;   // image record: bias byte + 784 pixels
inline constexpr int Image_side = 28;

struct T_pair {
    std::int32_t row;
    std::int32_t column;
};

struct Series_input {
    // All lines of the loaded data file; absent until a file has been loaded.
    std::optional<std::vector<std::string>> Data_lines;
    // The loaded file's name without its folder, which names the batch
    // result file (Label11 shows it, with a note when the file is not
    // plain text).
    std::string File_name;
    std::int32_t Preview_count = 0;  // 5 or more: a usable series exists
    std::int32_t Column_count = 0;
    std::int32_t Column_index = 0;   // 1-based column of the last extraction
    std::int32_t N = 0;              // 5..19625 once an extraction has run
    double xn[Max_N + 1] = {};       // xn[1..N]: the series, the rest 0
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
    bool Stop_all_files = false;
    Date_time Run_start = 0;
    Date_time Last_time_update = 0;
    double One_second = 0;   // one second in date-time units
    std::string App_dir;     // folder of the executable, ending in '/'
};

struct Engine_state {
    Series_input series;
    Pattern_datasets datasets;
    Vedero_network net;
    Run_control run;
};

}  // namespace vantel
