#include "base/program_folder.h"

#include <algorithm>
#include <filesystem>

namespace vantel {

std::string executable_folder()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string() + "/";
}

std::string default_mnist_folder(const std::string& program_folder)
{
    return program_folder + "MNIST_10/";
}

std::string default_t_pattern_file(const std::string& program_folder)
{
    return program_folder + "T_pattern/T-pattern-3.VM";
}

std::vector<std::string> data_file_names(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (const std::filesystem::directory_iterator end; !error && entries != end; entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vantel
