// The series reader against the plain reading the window does: what a table
// (reading plus the look at its layout) and a column with its count of
// fields that are not numbers cost, on a file of the longest series (19625
// lines of 4 columns) and on one of a million lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "series/data_file.h"
#include "series/series_reader.h"
#include "series/text_readers.h"
#include "support/test_program.h"

namespace {

using namespace vantel;

// The median of `repeats` timings of `work`, in seconds.
double median_seconds(int repeats, const std::function<void()>& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

// Lines "k<TAB>x<TAB>y<TAB>z" of a logistic map, as the example files hold.
std::string four_columns(std::size_t lines)
{
    std::string text;
    double x = 0.3;
    char line[128];
    for (std::size_t k = 1; k <= lines; ++k) {
        x = 3.9 * x * (1 - x);
        std::snprintf(line, sizeof line, "%zu\t%.15g\t%.15g\t%.15g\n", k, x, 1 - x, x * x);
        text += line;
    }
    return text;
}

void measure(const std::string& path, std::size_t lines, int repeats)
{
    std::printf("%zu lines of 4 columns:\n", lines);
    const double plain = median_seconds(repeats, [&] { read_data_file(path); });
    const double table = median_seconds(repeats, [&] { read_data_table(path); });
    const std::vector<std::string> all = read_data_file(path);
    const double layout = median_seconds(repeats, [&] { layout_warnings(path, all); });
    std::printf("  %-32s %8.4f s\n", "read_data_file", plain);
    std::printf("  %-32s %8.4f s   (%.3f x read_data_file)\n", "read_data_table", table, table / plain);
    std::printf("  %-32s %8.4f s   (a sample of %zu lines)\n", "layout_warnings", layout,
                std::min(lines, Layout_head_lines + Layout_tail_lines));

    const Data_table data = read_data_table(path);
    const std::size_t count = std::min<std::size_t>(lines, 19625);
    std::vector<double> shown(count);
    const double show = median_seconds(repeats, [&] {
        for (std::size_t k = 0; k < count; ++k) shown[k] = parse_number(field_text(data.lines[k], 2));
    });
    const double column = median_seconds(repeats, [&] { read_column(data, 2, 1, count); });
    const std::string values = std::to_string(count) + " values as Show reads them";
    std::printf("  %-32s %8.4f s\n", values.c_str(), show);
    std::printf("  %-32s %8.4f s   (%.3f x Show)\n", "read_column of the same", column, column / show);
}

}  // namespace

int main()
{
    vantel::test::Temp_dir dir;
    measure(dir.write("series.txt", four_columns(19625)), 19625, 9);
    measure(dir.write("million.txt", four_columns(1'000'000)), 1'000'000, 3);
    return 0;
}
