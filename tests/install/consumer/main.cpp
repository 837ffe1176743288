// A program of another project that computes one value with the installed
// engine. It writes the series it computes to a file, so that the command
// can compute the same one, then prints the engine's version, the value,
// the correct count and the W2 fingerprint, one a line.
//   consumer MNIST_FOLDER T_PATTERN SERIES_FILE METHOD EPOCHS
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/version.h"
#include "engine/vantel.h"

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: consumer MNIST_FOLDER T_PATTERN SERIES_FILE METHOD EPOCHS\n");
        return 2;
    }
    // Whole numbers from -9 to 9, which every reader reads exactly.
    std::vector<double> series(vantel::Max_series_length);
    std::ofstream file(argv[3]);
    for (std::size_t i = 0; i < series.size(); ++i) {
        series[i] = static_cast<double>((i * i + 37 * i) % 19) - 9;
        file << static_cast<int>(series[i]) << "\n";
    }
    file.close();
    if (!file) {
        std::fprintf(stderr, "consumer: cannot write %s\n", argv[3]);
        return 1;
    }
    try {
        auto datasets = vantel::Datasets::load({argv[1], argv[2]});
        vantel::Network network(datasets);
        vantel::Run_options options;
        options.method = std::atoi(argv[4]);
        options.epochs = std::atoi(argv[5]);
        const vantel::Run_result r = network.compute(series, options);
        std::printf("%s\n%s\n%d\n%s\n", std::string(vantel::Program_version).c_str(), r.value_text.c_str(),
                    r.correct_count, r.w2_sha256.c_str());
    } catch (const vantel::Vantel_error& error) {
        std::fprintf(stderr, "consumer: %s\n", error.what());
        return 1;
    }
}
