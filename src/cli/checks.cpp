#include "cli/checks.h"

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "engine/datasets.h"

namespace vantel::cli {

namespace {

bool readable_file(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

}  // namespace

bool is_folder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

void check_mnist(const std::string& folder, std::vector<std::string>& problems)
{
    if (!folder.empty() && !is_folder(folder)) {
        problems.push_back("cannot find the MNIST-10 folder " + folder);
        return;
    }
    for (const char* name : {Train_images_file, Train_labels_file, Test_images_file, Test_labels_file})
        if (!readable_file(folder + name)) {
            problems.push_back("cannot read MNIST-10 file " + folder + name);
            return;
        }
}

void check_t_pattern(const std::string& file, std::vector<std::string>& problems)
{
    if (!readable_file(file)) problems.push_back("cannot read T-pattern file " + file);
}

bool same_file(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code error_a;
    std::error_code error_b;
    const auto canonical_a = std::filesystem::weakly_canonical(a, error_a);
    const auto canonical_b = std::filesystem::weakly_canonical(b, error_b);
    return !error_a && !error_b && canonical_a == canonical_b;
}

void check_output_file(const std::string& output, const std::vector<std::string>& inputs,
                       std::vector<std::string>& problems)
{
    if (output.empty()) return;
    const std::filesystem::path path(output);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
    if (is_folder(output)) {
        problems.push_back("cannot write the output to " + output + ": it is a folder");
        return;
    }
    if (!is_folder(folder)) {
        problems.push_back("cannot write the output to " + output + ": no folder " + folder);
        return;
    }
    for (const std::string& input : inputs)
        if (input != "-" && same_file(output, input)) {
            problems.push_back("the output " + output + " is the data file " + input +
                               ": it would be replaced by the results; choose another --output");
            return;
        }
}

}  // namespace vantel::cli
