#include "cli/checks.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "batch/result_files.h"
#include "engine/datasets.h"

namespace vantel::cli {

namespace {

constexpr const char* Mnist_files[] = {Train_images_file, Train_labels_file, Test_images_file, Test_labels_file};

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
    for (const char* name : Mnist_files)
        if (!readable_file(folder + name)) {
            problems.push_back("cannot read MNIST-10 file " + folder + name);
            return;
        }
}

void check_t_pattern(const std::string& file, std::vector<std::string>& problems)
{
    if (!readable_file(file)) problems.push_back("cannot read T-pattern file " + file);
}

std::vector<Input_file> job_inputs(const std::vector<std::string>& data_files, const std::string& t_pattern_file,
                                   const std::string& mnist_dir)
{
    std::vector<Input_file> inputs;
    for (const std::string& file : data_files)
        if (file != "-") inputs.push_back({file, "data file"});
    inputs.push_back({t_pattern_file, "T-pattern file"});
    for (const char* name : Mnist_files) inputs.push_back({mnist_dir + name, "MNIST-10 file"});
    return inputs;
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

std::optional<std::string> output_is_input(const std::string& output, const std::vector<Input_file>& inputs)
{
    for (const Input_file& input : inputs)
        if (same_file(output, input.path))
            return "the output " + output + " is the " + input.what + " " + input.path +
                   ": it would be replaced by the results; choose another --output";
    return std::nullopt;
}

std::optional<std::string> unwritable_folder(const std::string& folder)
{
    const std::string probe = folder + "/.vantel-write-test-" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return std::nullopt;
}

void check_output_file(const Options& options, const std::vector<Input_file>& inputs,
                       std::vector<std::string>& problems)
{
    const std::string& output = options.output;
    if (output.empty()) return;
    const std::string cannot = "cannot write the output to " + output + ": ";
    if (is_folder(output)) {
        problems.push_back(cannot + "it is a folder");
        return;
    }
    if (const auto problem = output_is_input(output, inputs)) {
        problems.push_back(*problem);
        return;
    }
    // Where the bytes go: through links, to a device, a FIFO, or a file
    // (replaced by a new one made in its folder, or appended to).
    const std::filesystem::path target = written_path(output);
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (options.resume)
            problems.push_back("--resume reads the output back, and " + output + " is not a file");
        else if (::access(target.c_str(), W_OK) != 0)
            problems.push_back(cannot + std::strerror(errno));
        return;
    }
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (exists && status.st_size > 0 && !options.resume && !options.overwrite) {
        problems.push_back("the output " + output + " is not empty: --resume adds the runs it lacks, " +
                           "--overwrite replaces it");
        return;
    }
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    if (!is_folder(folder)) {
        problems.push_back(cannot + "no folder " + folder);
        return;
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        problems.push_back(cannot + std::strerror(errno));
        return;
    }
    // CSV and JSON Lines write into the file itself; the others make a new
    // file in its folder that then takes its name.
    const bool in_place = options.format == Format::csv || options.format == Format::jsonl;
    if (exists && in_place) return;
    if (const auto reason = unwritable_folder(folder)) problems.push_back(cannot + *reason);
}

}  // namespace vantel::cli
