// Loading the pattern datasets: the four MNIST-10 files, read record by
// record into Pattern_datasets, and the T-pattern after them.
#pragma once

#include <functional>
#include <string>

#include "engine/engine_state.h"
#include "engine/t_pattern_reader.h"

namespace vantel {

inline constexpr const char* Train_images_file = "train-images.idx3-ubyte";
inline constexpr const char* Train_labels_file = "train-labels.idx1-ubyte";
inline constexpr const char* Test_images_file = "t10k-images.idx3-ubyte";
inline constexpr const char* Test_labels_file = "t10k-labels.idx1-ubyte";

// Where the loading is: the file being read ("Training Data", "Training
// Label", "Test Data", "Test Label") and, for the two training files, the
// record just read (every 1000th); the test files report once, with 0,
// before they are read.
using Load_progress = std::function<void(const char* stage, int record)>;

// The fingerprint of a folder's MNIST-10: the SHA-256 of the four files'
// bytes one after another, in the order train images, train labels, test
// images, test labels. Throws Vantel_error naming a file that cannot be read.
std::string mnist_fingerprint(const std::string& folder);

// The fingerprint of the published files that the set-up installs.
inline constexpr const char* Published_mnist_sha256 =
    "b2d8f5bf39174ee5ffeefa97e42d673c35432b411bb5d1f74fbbeddae7f1690a";

// What a record says of datasets that are not the published ones, nothing
// for the published ones:
//   the MNIST-10 files of /data/mnist/ are not the published ones (SHA-256
//   <fingerprint>): values computed with them differ from everyone else's
std::string mnist_fingerprint_warning(const std::string& fingerprint, const std::string& folder);

// Reads the images and labels of the four files of `folder` (their names are
// appended to it as it is) into the datasets, with every image and target
// reset first. Each file's header and size are checked when it is opened,
// before its records are read (see mnist_layout.h). Throws Vantel_error
// naming the file and what is wrong; the tables then hold what was read
// before the error. The datasets get a new identity however the loading ends.
void load_mnist(Pattern_datasets& datasets, const std::string& folder, const Load_progress& progress = {});

// Reads the T-pattern file into the table (see read_t_pattern); a file that
// cannot be read, or that holds a text that is not a whole number, throws
// Vantel_error naming `path`. The datasets get a new identity.
T_pattern_report load_t_pattern(Pattern_datasets& datasets, const std::string& path);

}  // namespace vantel
