// Writes the three example data files of the DATA folder, 19625 rows each,
// the same bytes on every machine:
//   logistic_map.txt         x <- r x (1 - x) at r = 3.6, 3.7, 3.8 and 4.0 (four columns)
//   random_discrete_map.txt  integers 0..9 from a fixed-seed generator
//   two_valued_map.txt       0 or 1 from the same generator
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int Rows = 19625;

// xorshift64*: small, portable and fully determined by its seed.
struct Generator {
    std::uint64_t state;
    std::uint64_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ULL;
    }
};

bool write_file(const std::string& path, auto&& row)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    for (int k = 0; k < Rows; ++k) std::fprintf(file, "%s\r\n", row().c_str());
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_example_data FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";

    const double r[4] = {3.6, 3.7, 3.8, 4.0};
    double x[4] = {0.1, 0.1, 0.1, 0.1};
    const bool logistic = write_file(folder + "logistic_map.txt", [&] {
        std::string line;
        char field[32];
        for (int c = 0; c < 4; ++c) {
            std::snprintf(field, sizeof field, "%.10f", x[c]);
            line += (c ? "\t" : "") + std::string(field);
            x[c] = r[c] * x[c] * (1.0 - x[c]);
        }
        return line;
    });

    Generator random{0x5EED1234ABCDULL};
    const bool discrete = write_file(folder + "random_discrete_map.txt",
                                     [&] { return std::to_string(random.next() % 10); });
    Generator coin{0xC0FFEE42ULL};
    const bool two_valued = write_file(folder + "two_valued_map.txt",
                                       [&] { return std::to_string((coin.next() >> 33) & 1); });
    return logistic && discrete && two_valued ? 0 : 1;
}
