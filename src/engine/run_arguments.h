// The limits of a run's arguments and the one check of them, shared by the
// computation API, the command and the Python module, so that the three
// refuse the same arguments with the same words. Each function gives the
// text of the problem, or an empty text when the argument is usable.
#pragma once

#include <span>
#include <string>

namespace vantel {

inline constexpr int Min_method = 1;
inline constexpr int Max_method = 6;
// 100000 epochs take about an hour a series on two cores, far beyond where
// the values level off; a learning curve of as many points still fits in
// memory (about 2.5 KB a point).
inline constexpr int Max_epochs = 100'000;
// Threads of one process that computes: more than any machine's cores, few
// enough that the threading runtime can always start them.
inline constexpr int Max_threads = 1024;

std::string method_problem(long long method);
std::string epochs_problem(long long epochs);
std::string threads_problem(long long threads);

// Every method and every epoch count of a set of runs; none given is a
// problem too.
std::string runs_problem(std::span<const int> methods, std::span<const int> epoch_counts);

}  // namespace vantel
