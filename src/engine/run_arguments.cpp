#include "engine/run_arguments.h"

namespace vantel {

namespace {

std::string range_problem(const char* what, long long value, long long low, long long high)
{
    if (value >= low && value <= high) return {};
    return std::string(what) + " must be " + std::to_string(low) + ".." + std::to_string(high) + ", got " +
           std::to_string(value);
}

}  // namespace

std::string method_problem(long long method)
{
    return range_problem("the fill method", method, Min_method, Max_method);
}

std::string epochs_problem(long long epochs)
{
    return range_problem("the number of epochs", epochs, 1, Max_epochs);
}

std::string threads_problem(long long threads)
{
    return range_problem("the number of threads", threads, 1, Max_threads);
}

std::string runs_problem(std::span<const int> methods, std::span<const int> epoch_counts)
{
    if (methods.empty()) return "no fill method given";
    if (epoch_counts.empty()) return "no epoch count given";
    for (const int method : methods)
        if (std::string problem = method_problem(method); !problem.empty()) return problem;
    for (const int epochs : epoch_counts)
        if (std::string problem = epochs_problem(epochs); !problem.empty()) return problem;
    return {};
}

}  // namespace vantel
