// Where the program lives, and the data files of a folder.
#pragma once

#include <string>
#include <vector>

namespace vantel {

// The folder of the running executable, ending in '/'; empty when the
// system does not tell.
std::string executable_folder();

// The default files of a program folder (ending in '/').
std::string default_mnist_folder(const std::string& program_folder);     // "MNIST_10/"
std::string default_t_pattern_file(const std::string& program_folder);   // "T_pattern/T-pattern-3.VM"

// Every entry of `folder` whose name ends in ".txt" (case-sensitive, as
// names are on this file system: "A.TXT" is not listed), sub-folders and
// hidden files included, sorted by name in byte order so that a batch of the
// same folder always goes in the same order. A listing that fails part-way
// ends with what was found so far; a folder that cannot be read lists nothing.
std::vector<std::string> data_file_names(const std::string& folder);

}  // namespace vantel
