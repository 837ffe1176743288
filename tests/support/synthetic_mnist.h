// A program folder of synthetic MNIST-10 files of the published layout and
// an identity T-pattern, shared by the tests of step 2. The files are almost
// all zero; a few marked pixels and the labels show where each record went.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/test_program.h"

namespace vantel::test {

inline constexpr int Marked_train = 1234;  // holds 77 in row 3, column 5
inline constexpr const char* No_t_pattern = "No File T_pattern\\T-pattern-3.VM";

inline const std::array<std::string, 4> Mnist_names = {"train-images.idx3-ubyte", "train-labels.idx1-ubyte",
                                                       "t10k-images.idx3-ubyte", "t10k-labels.idx1-ubyte"};

// Row m of the pattern names the pixel stored at element m of a record, so
// Y[m] is simply element m / 255.
std::string identity_t_pattern();

// The idx header of the published files: magic number, count and, for
// images, rows and columns, as big-endian 32-bit fields.
std::string idx_header(bool images, std::uint32_t count);

// Files of the published layout. Every header field holds a byte other than
// 0, and the first pixels after each images header are marked: a record read
// at a wrong offset takes such bytes into an image (where the marked pixels
// are counted) or a label (which then is no longer k % 10).
struct Synthetic_files {
    Temp_dir dir;
    std::string app = dir.path().string() + "/";
    std::string mnist = app + "MNIST_10/";
    std::string train_labels;

    Synthetic_files();
};

const Synthetic_files& synthetic();

// A MNIST folder of links to the synthetic files, for damaging one of them.
void link_mnist(const Temp_dir& dir, const std::string& except = "");

// A program about to run step 2 for the first time, with init line 5 as given.
void prepare(Test_program& program, const std::string& app, const std::string& path_line);

// Step 2 ended with this error: the datasets are still to be loaded and its
// button stays disabled.
void expect_failed_load(const Test_program& program, const std::string& shown_error);

}  // namespace vantel::test
