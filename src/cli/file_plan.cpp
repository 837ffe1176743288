#include "cli/file_plan.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/sha256.h"
#include "cli/driving.h"
#include "series/column_extraction.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel::cli {

namespace {

// Every file's series, from the options.
Series_plan series_plan(const Options& options)
{
    Series_plan plan{.all_columns = options.all_columns,
                     .columns = options.columns,
                     .methods = options.methods,
                     .n = options.n,
                     .start = options.start,
                     .window = options.window,
                     .step = options.step,
                     .rescale = options.rescale,
                     .epochs = options.epochs,
                     .scales = options.scales,
                     .surrogates = options.surrogates};
    if (options.curve) {
        plan.epochs.clear();
        for (int e = 1; e <= options.epochs.front(); ++e) plan.epochs.push_back(e);
    }
    plan.relative_change = !options.curve && plan.epochs.size() == 2;
    return plan;
}

// Standard input, read whole (up to the data-file limit) as a data file.
std::shared_ptr<const Data_table> read_standard_input(Data_file& file)
{
    std::string bytes;
    char piece[1 << 16];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, piece, sizeof piece);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw Vantel_error("cannot read standard input: " + std::string(std::strerror(errno)));
        if (got == 0) break;
        bytes.append(piece, static_cast<std::size_t>(got));
        if (bytes.size() > Max_data_file_bytes)
            throw Vantel_error("standard input holds more than a data file may: 1073741824 bytes (1 GiB)");
    }
    file.path = "-";
    file.sha256 = sha256_hex(bytes);
    const auto table =
        std::make_shared<const Data_table>(data_table("-", examine_data_text(bytes, Max_data_file_lines, "-")));
    file.columns = table->column_count;
    file.lines = table->lines.size();
    file.warnings = table->warnings;
    return table;
}

// The problem of a file for the options' series, if any.
std::optional<std::string> series_problem(const Data_file& file, const Options& options)
{
    const std::string& path = file.path;
    if (file.lines < static_cast<std::size_t>(Min_series_length))
        return path + " has " + plural(file.lines, "line", "lines") + "; a series needs at least 5";
    // A first line without text still gives column 1, as in the window.
    const int usable = std::max(file.columns, 1);
    if (!options.all_columns)
        for (const int c : options.columns)
            if (c > usable)
                return "column " + std::to_string(c) + " is out of range for " + path + ", which has " +
                       plural(static_cast<std::size_t>(file.columns), "column", "columns");
    if (options.window > 0 && series_starts(series_plan(options), file.lines).empty())
        return "no window of " + std::to_string(options.window) + " values fits in " + path + ", which has " +
               plural(file.lines, "line", "lines") +
               (options.start > 1 ? " (from line " + std::to_string(options.start) + " on)" : "");
    const long long from_start = static_cast<long long>(file.lines) - options.start + 1;
    if (options.window == 0 && from_start < Min_series_length)
        return "--start " + std::to_string(options.start) + " leaves " + std::to_string(std::max(from_start, 0LL)) +
               " of the " + std::to_string(file.lines) + " lines of " + path + "; a series needs at least 5";
    // A given N is taken as it is, or refused: only the default becomes the
    // lines there are.
    if (options.n_given && std::stoll(options.n) > from_start)
        return "--n " + options.n + " is out of range for " + path + ", which has " +
               plural(file.lines, "line", "lines") +
               (options.start > 1 ? " (" + std::to_string(from_start) + " from line " +
                                        std::to_string(options.start) + " on)"
                                  : "");
    const std::size_t length =
        options.window > 0 ? static_cast<std::size_t>(options.window)
                           : corrected_n(read_integer(options.n), static_cast<std::size_t>(from_start));
    for (const int scale : options.scales)
        if (const std::string problem = scale_problem(length, scale); !problem.empty())
            return "--scales: " + path + ": " + problem;
    return std::nullopt;
}

}  // namespace

Given_files read_given_files(const Options& options, std::vector<std::string>& problems)
{
    Given_files given;
    bool standard_input_read = false;
    for (const std::string& path : options.files) {
        Data_file file;
        std::shared_ptr<const Data_table> kept;
        try {
            if (path == "-" && standard_input_read) continue;  // refused with the options
            if (path == "-") {
                standard_input_read = true;
                kept = read_standard_input(file);
            } else {
                file = describe_file(path, read_data_table(path));
            }
        } catch (const std::exception& error) {
            problems.push_back(error.what());
            continue;
        }
        if (const auto problem = series_problem(file, options)) {
            problems.push_back(*problem);
            continue;
        }
        given.files.push_back(file);
        given.kept_tables.push_back(kept);
    }
    return given;
}

Job_factory plan_runs(const Options& options, const Given_files& given, const std::set<std::string>& done)
{
    const Series_plan plan = series_plan(options);
    Job_factory factory(&done);
    for (std::size_t f = 0; f < given.files.size(); ++f) {
        const std::size_t before = factory.planned();
        factory.add_file(f, given.files[f], plan);
        if (options.window > 0)
            say(given.files[f].path + ": " +
                plural(series_starts(plan, given.files[f].lines).size(), "window", "windows") + " of " +
                std::to_string(options.window) + " values, " +
                plural(factory.planned() - before, "run", "runs"));
    }
    if (options.resume && factory.planned() > factory.wanted())
        say(std::to_string(factory.planned() - factory.wanted()) + " of " +
            plural(factory.planned(), "run is", "runs are") + " already in " + options.output +
            "; computing the other " + std::to_string(factory.wanted()));
    return factory;
}

}  // namespace vantel::cli
