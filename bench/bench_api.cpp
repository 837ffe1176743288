// Benchmark of the computation API: a default run (N = 19625, method 5,
// 100 epochs) on a series of the example data, timed in the process and
// through the vantel command, and the memory a second network on another
// thread adds. Prints figures; asserts nothing about time.
#include <omp.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "base/program_folder.h"
#include "engine/vantel.h"
#include "series/series_reader.h"
#include "support/test_program.h"

using namespace vantel;

namespace {

double resident_mb()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The "seconds" of the command's JSON record for the same run.
double command_seconds(const std::string& data)
{
    const std::string command = test::built_app_dir() + "vantel " + data + " --format json";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    const auto at = out.find("\"seconds\": ");
    return at == std::string::npos ? -1 : std::stod(out.substr(at + 11));
}

}  // namespace

int main()
{
    const std::string app = test::built_app_dir();
    const std::string data = app + "DATA/logistic_map.txt";
    double load[1] = {0};
    if (getloadavg(load, 1) == 1) std::printf("load average before: %.2f on %ld cores\n", load[0], sysconf(_SC_NPROCESSORS_ONLN));

    const Data_table table = read_data_table(data);
    const std::vector<double> series = read_column(table, 1, 1, Max_N).values;
    const double before_load = resident_mb();
    const auto datasets = Datasets::load({default_mnist_folder(app), default_t_pattern_file(app)});
    std::printf("resident after loading the datasets: %.1f MB (%.1f MB before)\n", resident_mb(), before_load);

    Network network(datasets);
    double best = 1e9;
    std::string value;
    for (int round = 0; round < 3; ++round) {
        const Run_result r = network.compute(series, {});
        best = std::min(best, r.seconds);
        value = r.value_text;
        std::printf("  API default run %d: %.3f s (value %s)\n", round + 1, r.seconds, value.c_str());
    }
    double command_best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const double s = command_seconds(data);
        command_best = std::min(command_best, s);
        std::printf("  vantel default run %d: %.3f s\n", round + 1, s);
    }
    std::printf("default run, best of three: API %.3f s, command %.3f s, API / command %.3f\n", best, command_best,
                best / command_best);

    // A second network on another thread, each on one core.
    omp_set_num_threads(1);
    Run_options short_run;
    short_run.epochs = 1;
    network.compute(series, short_run);
    const double one_network = resident_mb();
    std::thread other([&] {
        omp_set_num_threads(1);
        Network second(datasets);
        second.compute(series, short_run);
        std::printf("resident with one network: %.1f MB, with a second on another thread: %.1f MB (+%.1f MB)\n",
                    one_network, resident_mb(), resident_mb() - one_network);
    });
    other.join();
    return 0;
}
