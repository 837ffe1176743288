// Checks of the command's arguments made before any work starts: each
// problem becomes one line on standard error and the command ends with
// status 2.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"

namespace vantel::cli {

// The four MNIST-10 files in the folder.
void check_mnist(const std::string& folder, std::vector<std::string>& problems);
void check_t_pattern(const std::string& file, std::vector<std::string>& problems);

// A file the job reads, and what it is to the user ("data file",
// "T-pattern file", ...).
struct Input_file {
    std::string path;
    std::string what;
};

// The inputs of a job of data files: the files (standard input aside), the
// T-pattern and the MNIST-10 files.
std::vector<Input_file> job_inputs(const std::vector<std::string>& data_files, const std::string& t_pattern_file,
                                   const std::string& mnist_dir);

// The problem of writing results to `output` when it is one of the inputs
// (also through a link or another spelling of its path); nothing otherwise.
std::optional<std::string> output_is_input(const std::string& output, const std::vector<Input_file>& inputs);

// The --output file of data-file runs, in any format, before any work: it is
// none of the inputs, it is not a folder, it can be written where it is (a
// new file made in its folder, or the device or FIFO it is written), and it
// holds nothing yet unless --resume or --overwrite says what to do with it.
void check_output_file(const Options& options, const std::vector<Input_file>& inputs,
                       std::vector<std::string>& problems);

// Why no new file can be made in the folder; nothing when one can.
std::optional<std::string> unwritable_folder(const std::string& folder);

// Whether two paths name the same file (an existing file by its device and
// inode, a new one by its canonical path).
bool same_file(const std::string& a, const std::string& b);

bool is_folder(const std::string& path);

}  // namespace vantel::cli
