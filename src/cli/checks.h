// Checks of the command's arguments made before any work starts: each
// problem becomes one line on standard error and the command ends with
// status 2.
#pragma once

#include <string>
#include <vector>

namespace vantel::cli {

// The four MNIST-10 files in the folder.
void check_mnist(const std::string& folder, std::vector<std::string>& problems);
void check_t_pattern(const std::string& file, std::vector<std::string>& problems);

// The output file can be written, and it is none of the inputs: not the
// same file, also through a link or another spelling of its path.
void check_output_file(const std::string& output, const std::vector<std::string>& inputs,
                       std::vector<std::string>& problems);

// Whether two paths name the same file (an existing file by its device and
// inode, a new one by its canonical path).
bool same_file(const std::string& a, const std::string& b);

bool is_folder(const std::string& path);

}  // namespace vantel::cli
