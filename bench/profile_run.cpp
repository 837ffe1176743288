// One run through the computation API, for a profiler: the default series
// of the example data (N = 19625, method 5) for the epochs given (default
// 3), on the threads OpenMP is given. For instance
//   valgrind --tool=callgrind build/bin/profile_run 2
//   perf record build/bin/profile_run 20     (where perf can count cycles)
// Prints the run's figures; measures nothing itself.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/program_folder.h"
#include "engine/vantel.h"
#include "series/series_reader.h"
#include "support/test_program.h"

using namespace vantel;

int main(int argc, char** argv)
{
    const std::string app = test::built_app_dir();
    const Data_table table = read_data_table(app + "DATA/logistic_map.txt");
    const std::vector<double> series = read_column(table, 1, 1, Max_N).values;
    const auto datasets = Datasets::load({default_mnist_folder(app), default_t_pattern_file(app)});
    Network network(datasets);
    Run_options options;
    options.epochs = argc > 1 ? std::atoi(argv[1]) : 3;
    const Run_result r = network.compute(series, options);
    std::printf("%d epochs: value %s, %.3f s\n", r.epochs, r.value_text.c_str(), r.seconds);
    return 0;
}
