// A program of another project, computing one value with the installed
// engine: it writes its series to SERIES_FILE for the command to compute
// too, then prints the engine's version, the value, the correct count and
// the W2 fingerprint, one a line.
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
    if (argc != 6) return 2;
    // Whole numbers from -9 to 9, which every reader reads exactly.
    std::vector<double> series(vantel::Max_series_length);
    std::ofstream file(argv[3]);
    for (std::size_t i = 0; i < series.size(); ++i) {
        series[i] = static_cast<double>((i * i + 37 * i) % 19) - 9;
        file << series[i] << "\n";
    }
    file.close();
    vantel::Network network(vantel::Datasets::load({argv[1], argv[2]}));
    vantel::Run_options options;
    options.method = std::atoi(argv[4]);
    options.epochs = std::atoi(argv[5]);
    const vantel::Run_result r = network.compute(series, options);
    std::printf("%s\n%s\n%d\n%s\n", std::string(vantel::Program_version).c_str(), r.value_text.c_str(),
                r.correct_count, r.w2_sha256.c_str());
}
