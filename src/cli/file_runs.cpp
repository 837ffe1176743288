#include "cli/file_runs.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "base/program_folder.h"
#include "base/sha256.h"
#include "cli/checks.h"
#include "cli/data_runs.h"
#include "cli/driving.h"
#include "cli/record_output.h"
#include "series/column_extraction.h"
#include "series/text_readers.h"

namespace vantel::cli {

namespace {

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
    file.sha256 = sha256_hex(bytes);
    return std::make_shared<const Data_table>(data_table("-", examine_data_text(bytes, Max_data_file_lines, "-")));
}

// The starts of the series of a file: one, or every window that fits.
std::vector<int> series_starts(const Options& options, std::size_t lines)
{
    if (options.window == 0) return {options.start};
    std::vector<int> starts;
    const auto first = static_cast<std::size_t>(options.start);
    if (first > lines) return starts;
    for (const std::size_t s : window_starts(lines - first + 1, static_cast<std::size_t>(options.window),
                                             static_cast<std::size_t>(std::max(options.step, 0))))
        starts.push_back(static_cast<int>(first + s));
    return starts;
}

std::string plural(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The file's table and what the runs need of it, or its problem.
std::shared_ptr<const Data_table> plan_file(const std::string& path, const Options& options, Data_file& file,
                                            std::vector<std::string>& problems)
{
    file.path = path;
    std::shared_ptr<const Data_table> table;
    try {
        if (path == "-") {
            table = read_standard_input(file);
        } else {
            table = std::make_shared<const Data_table>(read_data_table(path));
            file.sha256 = file_sha256(path);
            std::error_code error;
            file.size = std::filesystem::file_size(path, error);
            file.modified = std::filesystem::last_write_time(path, error);
        }
    } catch (const std::exception& error) {
        problems.push_back(error.what());
        return nullptr;
    }
    file.lines = table->lines.size();
    file.columns = table->column_count;
    file.warnings = table->warnings;
    if (file.lines < static_cast<std::size_t>(Min_series_length)) {
        problems.push_back(path + " has " + plural(file.lines, "line", "lines") + "; a series needs at least 5");
        return nullptr;
    }
    // A first line without text still gives column 1, as in the window.
    const int usable = std::max(file.columns, 1);
    if (!options.all_columns)
        for (const int c : options.columns)
            if (c > usable) {
                problems.push_back("column " + std::to_string(c) + " is out of range for " + path + ", which has " +
                                   plural(static_cast<std::size_t>(file.columns), "column", "columns"));
                return nullptr;
            }
    const long long from_start = static_cast<long long>(file.lines) - options.start + 1;
    if (options.window > 0 && series_starts(options, file.lines).empty()) {
        problems.push_back("no window of " + std::to_string(options.window) + " values fits in " + path + ", which has " +
                           plural(file.lines, "line", "lines") +
                           (options.start > 1 ? " (from line " + std::to_string(options.start) + " on)" : ""));
        return nullptr;
    }
    if (options.window == 0 && from_start < Min_series_length) {
        problems.push_back("--start " + std::to_string(options.start) + " leaves " +
                           std::to_string(std::max(from_start, 0LL)) + " of the " + std::to_string(file.lines) +
                           " lines of " + path + "; a series needs at least 5");
        return nullptr;
    }
    return table;
}

}  // namespace

int run_files(const Options& options, const std::string& program_dir)
{
    std::vector<std::string> problems;
    if (!options.init_file.empty()) problems.push_back("--init goes with --batch only");
    if (options.files.empty()) problems.push_back("no data file given (see --help)");
    if (std::count(options.files.begin(), options.files.end(), "-") > 1)
        problems.push_back("standard input (-) can be read only once");

    std::vector<Data_file> files;
    std::vector<std::shared_ptr<const Data_table>> stdin_tables;
    for (const std::string& path : options.files) {
        Data_file file;
        if (auto table = plan_file(path, options, file, problems)) {
            files.push_back(file);
            stdin_tables.push_back(path == "-" ? table : nullptr);
        }
    }

    Dataset_paths paths;
    paths.mnist_dir = options.mnist_dir.empty() ? default_mnist_folder(program_dir) : options.mnist_dir;
    paths.t_pattern_file =
        options.t_pattern_file.empty() ? default_t_pattern_file(program_dir) : options.t_pattern_file;
    check_mnist(paths.mnist_dir, problems);
    check_t_pattern(paths.t_pattern_file, problems);
    check_output_file(options.output, options.files, problems);
    if (!problems.empty()) return report_problems(problems);

    const int threads = options.threads > 0 ? options.threads : available_cores();
    const auto datasets = load_datasets(paths, threads);
    if (!datasets) return Bad_input;

    std::unique_ptr<Record_output> output;
    try {
        output = std::make_unique<Record_output>(options.format, options.output, options.resume);
    } catch (const std::exception& error) {
        return report_problems({error.what()});
    }

    // Every combination, file by file, column by column, method by method,
    // window by window; the epoch counts of a series share its training.
    std::vector<int> epochs = options.epochs;
    if (options.curve) {
        epochs.clear();
        for (int e = 1; e <= options.epochs.front(); ++e) epochs.push_back(e);
    }
    std::vector<Series_job> jobs;
    std::size_t planned = 0;   // records in the run order
    std::size_t wanted = 0;    // records to compute (not already in a resumed output)
    for (std::size_t f = 0; f < files.size(); ++f) {
        std::vector<int> columns = options.columns;
        if (options.all_columns) {
            columns.clear();
            for (int c = 1; c <= std::max(files[f].columns, 1); ++c) columns.push_back(c);
        }
        const std::vector<int> starts = series_starts(options, files[f].lines);
        if (options.window > 0)
            say(files[f].path + ": " + plural(starts.size(), "window", "windows") + " of " +
                std::to_string(options.window) + " values, " +
                plural(starts.size() * columns.size() * options.methods.size() * epochs.size(), "run", "runs"));
        for (const int c : columns)
            for (const int method : options.methods)
                for (const int start : starts) {
                    Series_job job;
                    job.file = f;
                    job.column = c;
                    job.method = method;
                    job.start = start;
                    job.window = options.window;
                    job.n = options.window > 0
                                ? options.window
                                : corrected_n(read_integer(options.n), files[f].lines - static_cast<std::size_t>(start) + 1);
                    job.rescale = options.rescale;
                    job.epochs = epochs;
                    job.relative_change = !options.curve && epochs.size() == 2;
                    job.first_record = planned;
                    planned += epochs.size();
                    bool any = false;
                    for (const int e : epochs) {
                        const bool needed = !output->done().count(
                            run_key(files[f].sha256, c, method, e, job.n, start, job.window, job.rescale));
                        job.wanted.push_back(needed);
                        any = any || needed;
                        wanted += needed;
                    }
                    if (any) jobs.push_back(std::move(job));
                }
    }
    if (options.resume && planned > wanted)
        say(std::to_string(planned - wanted) + " of " + plural(planned, "run is", "runs are") + " already in " +
            options.output + "; computing the other " + std::to_string(wanted));

    Table_cache tables(files, jobs);
    for (std::size_t f = 0; f < files.size(); ++f)
        if (stdin_tables[f]) tables.keep(f, stdin_tables[f]);
    std::vector<std::vector<Run_record>> computed(jobs.size());
    std::atomic<std::size_t> epochs_trained{0};
    Run_pool pool(datasets, jobs.size(), threads,
                  series_job_runner(files, jobs, tables, computed, options.strict, &stop_requested(), &epochs_trained),
                  stop_requested());
    Progress_line progress({wanted, epochs_to_train(jobs)});
    std::size_t done = 0;
    std::set<std::string> warned;
    std::vector<std::string> stopped;
    bool failed = false;
    drive(
        pool, progress,
        [&](std::size_t j) {
            const Series_job& job = jobs[j];
            std::vector<Run_record>& records = computed[j];
            if (!pool.failure(j).empty()) records = failed_job(files[job.file], job, pool.failure(j));
            for (std::size_t i = 0; i < records.size(); ++i) {
                if (!job.wanted[i]) continue;
                const Run_record& record = records[i];
                const std::string which = record.file + " column " + std::to_string(record.column) +
                                          (job.window > 0 || job.start > 1 ? " from line " + std::to_string(job.start)
                                                                           : std::string()) +
                                          " method " + std::to_string(record.method) + " epochs " +
                                          std::to_string(record.epochs);
                for (const std::string& warning : record.warnings)
                    if (warned.insert(warning).second) {
                        progress.clear();
                        say("warning: " + warning);
                    }
                if (record.stopped) {
                    stopped.push_back(which);
                    continue;
                }
                ++done;
                output->add(record, job.first_record + i);
                if (record.problem.empty()) continue;
                failed = true;
                progress.clear();
                say(which + ": " + record.problem);
            }
        },
        [&] { return Work_done{done, epochs_trained.load()}; });

    const bool with_start = options.window > 0 || options.start > 1;
    if (const auto failure = output->finish(planned == 1, with_start)) {
        say(*failure);
        failed = true;
    }
    if (stop_requested().load() && done < wanted) {
        for (const std::string& which : stopped) say(which + ": stopped before its value");
        say("interrupted after " + std::to_string(done) + " of " + plural(wanted, "run", "runs") +
            "; the finished runs have been written");
        return Interrupted;
    }
    return failed ? Some_failed : 0;
}

}  // namespace vantel::cli
