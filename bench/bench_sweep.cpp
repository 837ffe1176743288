// Benchmark of the vantel command on the shapes of work a user runs most:
//   - a sweep: 8 series of 19625 values, method 5, 5 epochs, two threads;
//   - the same sweep with method 2 at N = 785;
//   - one series of 19625 values, 100 epochs, two threads.
// Each measure is repeated; the best and the spread of the wall-clock times
// and of the processor times (both threads; on a busy machine the steadier
// figure) are printed, with the records' digest so that two builds can be
// seen to agree. Asserts nothing about time.
//
//   bench_sweep [VANTEL [REPEATS]]
//
// VANTEL defaults to the command built beside this program; give another
// build's command (whose folder holds the MNIST-10 files) to compare the two
// in the same hour: `bench_sweep other/build/bin/vantel`. With BENCH_SWEEP_RECORDS=PREFIX
// set, each measure's sorted records go to PREFIX.DIGEST, for a diff.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "measured_command.h"
#include "support/test_program.h"

using namespace vantel::bench;
using namespace vantel::test;

namespace {

// Eight columns of series of different character: logistic maps, a noisy
// oscillation, a random walk, a two-valued series.
void write_series(const std::string& path)
{
    std::ofstream out(path);
    double logistic[4] = {0.2, 0.3, 0.4, 0.6};
    const double r[4] = {3.6, 3.8, 3.9, 4.0};
    unsigned long long seed = 12345;
    const auto uniform = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    double walk = 0;
    char line[512];
    for (int k = 1; k <= 19625; ++k) {
        for (int c = 0; c < 4; ++c) logistic[c] = r[c] * logistic[c] * (1 - logistic[c]);
        walk += uniform() - 0.5;
        std::snprintf(line, sizeof line, "%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n", logistic[0],
                      logistic[1], logistic[2], logistic[3], 3.0 * std::sin(0.37 * k) + uniform(), walk,
                      uniform() < 0.5 ? 0.25 : 0.75, std::cos(0.01 * k * k));
        out << line;
    }
}

// The records of a CSV output without the seconds field (field 9).
std::string without_seconds(const std::string& csv)
{
    std::string kept;
    std::size_t field = 0;
    for (char c : csv) {
        if (c == '\n') {
            field = 0;
            kept += c;
            continue;
        }
        if (c == ',') ++field;
        if (field != 8) kept += c;
    }
    return kept;
}

std::string digest(const std::string& text)
{
    unsigned long long h = 1469598103934665603ULL;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    char out[32];
    std::snprintf(out, sizeof out, "%016llx", h);
    return out;
}

struct Seconds {
    double wall = 0;
    double cpu = 0;
};

// One run of the command; its records go to *records.
Seconds run(const std::string& vantel, std::vector<std::string> options, const std::string& output,
           std::string* records)
{
    std::vector<std::string> arguments = {vantel};
    arguments.insert(arguments.end(), options.begin(), options.end());
    for (const char* a : {"--threads", "2", "--format", "csv", "--output"}) arguments.push_back(a);
    arguments.push_back(output);
    std::remove(output.c_str());
    const Measured_run measured = run_measured(arguments);
    Seconds s;
    s.wall = measured.wall;
    s.cpu = measured.cpu;
    std::ifstream file(output);
    std::string text = without_seconds({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    // The data file lies in a folder of its own on every call: leave its name out.
    for (std::size_t at; (at = text.find(options.front())) != std::string::npos;)
        text.erase(at, options.front().size());
    // Records come in the order the runs finish, which varies: sort them.
    std::vector<std::string> lines;
    for (std::size_t from = 0, end; from < text.size(); from = end + 1) {
        end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
    }
    std::sort(lines.begin(), lines.end());
    records->clear();
    for (const std::string& line : lines) *records += line + "\n";
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string vantel = argc > 1 ? argv[1] : built_app_dir() + "vantel";
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    Temp_dir dir;
    const std::string data = (dir.path() / "series.txt").string();
    const std::string output = (dir.path() / "runs.csv").string();
    write_series(data);
    double load[1] = {0};
    if (getloadavg(load, 1) == 1) std::printf("%s\nload average before: %.2f\n", vantel.c_str(), load[0]);

    struct Measure {
        const char* name;
        std::vector<std::string> options;
    };
    const Measure measures[] = {
        {"sweep, 8 series, method 5, 5 epochs", {data, "--columns", "all", "--epochs", "5", "--method", "5"}},
        {"sweep, 8 series, method 2, N = 785, 5 epochs",
         {data, "--columns", "all", "--epochs", "5", "--method", "2", "--n", "785"}},
        {"one series, method 5, 100 epochs", {data, "--columns", "1", "--epochs", "100", "--method", "5"}},
    };
    for (const Measure& m : measures) {
        std::vector<double> walls;
        std::vector<double> cpus;
        std::string records;
        for (int i = 0; i < repeats; ++i) {
            const Seconds s = run(vantel, m.options, output, &records);
            walls.push_back(s.wall);
            cpus.push_back(s.cpu);
        }
        std::sort(walls.begin(), walls.end());
        std::sort(cpus.begin(), cpus.end());
        std::printf("%s, records %s\n", m.name, digest(records).c_str());
        if (const char* keep = std::getenv("BENCH_SWEEP_RECORDS")) std::ofstream(std::string(keep) + "." + digest(records)) << records;
        std::printf("  wall      best %7.3f s, worst %7.3f s (spread %4.1f %%)\n", walls.front(), walls.back(),
                    100 * (walls.back() / walls.front() - 1));
        std::printf("  processor best %7.3f s, worst %7.3f s (spread %4.1f %%)\n", cpus.front(), cpus.back(),
                    100 * (cpus.back() / cpus.front() - 1));
    }
    return 0;
}
