// vantel: the Vantel value of one series without the window.
//
//   vantel FILE [--column C] [--n N] [--method M] [--epochs E]
//               [--mnist DIR] [--tpattern FILE] [--json]
//
// It runs the window's own handlers (open, show, the nine steps) without the
// pauses, so its value is the one START shows for the same inputs.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/headless_run.h"
#include "engine/core/session.h"

namespace {

constexpr const char* Usage = R"(usage: vantel FILE [options]

Computes the Vantel value of one column of a tab-separated data file, as the
window's START does, and prints the value text (e.g. 0.8765).

options:
  --column C      column to take, from 1 (default 1); corrected to the file's columns
  --n N           series length (default 19625); corrected to 5..19625 and the file's lines
  --method M      fill method of the reservoir matrix, 1..6 (default 5)
  --epochs E      training epochs, 1 or more (default 100)
  --mnist DIR     folder of the four MNIST-10 files (default: MNIST_10 next to the program)
  --tpattern FILE the T-pattern file (default: T_pattern/T-pattern-3.VM next to the program)
  --json          print one JSON object: value, correct_count, n, column, method, epochs,
                  seconds, w2_sha256 (SHA-256 of W2 as 260 little-endian doubles)
  --help          show this text
Exit status: 0 on success; 2 for bad arguments or files, with one line on stderr.
)";

[[noreturn]] void bad_usage(const std::string& problem)
{
    std::fprintf(stderr, "vantel: %s\n", problem.c_str());
    std::exit(2);
}

int whole_number(const std::string& option, const std::string& text)
{
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used != text.size() || text.empty() || value < -2147483647L || value > 2147483647L)
        bad_usage(option + " needs a whole number, got '" + text + "'");
    return static_cast<int>(value);
}

std::string executable_dir()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : exe.parent_path().string() + "/";
}

bool readable_file(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

std::string json_string(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

int main(int argc, char** argv)
{
    vantel::Headless_request request;
    request.app_dir = executable_dir();
    request.mnist_dir = request.app_dir + "MNIST_10/";
    request.t_pattern_file = request.app_dir + "T_pattern/T-pattern-3.VM";
    bool json = false;
    std::vector<std::string> files;

    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) bad_usage(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (arg == "--column") {
            request.column = whole_number(arg, value());
        } else if (arg == "--n") {
            request.n = whole_number(arg, value());
        } else if (arg == "--method") {
            request.method = whole_number(arg, value());
        } else if (arg == "--epochs") {
            request.epochs = whole_number(arg, value());
        } else if (arg == "--mnist") {
            request.mnist_dir = value();
            if (!request.mnist_dir.empty() && request.mnist_dir.back() != '/') request.mnist_dir += '/';
        } else if (arg == "--tpattern") {
            request.t_pattern_file = value();
        } else if (arg == "--json") {
            json = true;
        } else if (arg.rfind("--", 0) == 0) {
            bad_usage("unknown option " + arg + " (see --help)");
        } else {
            files.push_back(arg);
        }
    }

    if (files.size() != 1) bad_usage(files.empty() ? "no data file given (see --help)" : "give exactly one data file");
    request.data_file = files.front();
    if (!readable_file(request.data_file)) bad_usage("cannot read data file " + request.data_file);
    if (request.column < 1) bad_usage("--column must be 1 or more");
    if (request.method < 1 || request.method > 6) bad_usage("--method must be 1..6");
    if (request.epochs < 1) bad_usage("--epochs must be 1 or more");
    for (const char* name : {"train-images.idx3-ubyte", "train-labels.idx1-ubyte",
                             "t10k-images.idx3-ubyte", "t10k-labels.idx1-ubyte"})
        if (!readable_file(request.mnist_dir + name))
            bad_usage("cannot read MNIST-10 file " + request.mnist_dir + name);
    if (!readable_file(request.t_pattern_file)) bad_usage("cannot read T-pattern file " + request.t_pattern_file);

    auto state = std::make_unique<vantel::Engine_state>();
    vantel::Headless_result result;
    try {
        result = vantel::compute_headless(*state, request);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantel: %s\n", error.what());
        return 2;
    }
    if (!json) {
        std::printf("%s\n", result.value_text.c_str());
        return 0;
    }
    std::printf("{\"value\": %s, \"correct_count\": %d, \"n\": %d, \"column\": %d, \"method\": %d, "
                "\"epochs\": %d, \"seconds\": %.3f, \"w2_sha256\": %s}\n",
                json_string(result.value_text).c_str(), result.correct_count, result.n, result.column,
                result.method, result.epochs, result.seconds, json_string(result.w2_sha256).c_str());
    return 0;
}
