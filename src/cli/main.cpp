// vantel: Vantel values without the window, for many series at once.
//
// Every value comes from the window's own handlers (open, show, the nine
// steps) without the pauses, so it is the one START shows for the same
// inputs, whatever the number of threads. See Usage in options.cpp.
#include <omp.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/headless_run.h"
#include "model/memory_window.h"
#include "app/run_pool.h"
#include "base/sha256.h"
#include "batch/result_files.h"
#include "batch/texts.h"
#include "cli/folder_batch.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/records.h"
#include "model/session.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel::cli {
namespace {

constexpr int Bad_input = 2;
constexpr int Some_failed = 1;
constexpr int Interrupted = 130;  // as a shell reports a process ended by Ctrl-C
constexpr int Min_series_lines = 5;
constexpr auto Progress_interval = std::chrono::milliseconds(500);

int report_problems(const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems) std::fprintf(stderr, "vantel: %s\n", problem.c_str());
    return Bad_input;
}

std::string executable_dir()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : exe.parent_path().string() + "/";
}

bool readable_file(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

bool is_folder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string file_bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void check_mnist(const std::string& folder, std::vector<std::string>& problems)
{
    if (!folder.empty() && !is_folder(folder)) {
        problems.push_back("cannot find the MNIST-10 folder " + folder);
    } else {
        for (const char* name : {"train-images.idx3-ubyte", "train-labels.idx1-ubyte", "t10k-images.idx3-ubyte",
                                 "t10k-labels.idx1-ubyte"})
            if (!readable_file(folder + name)) {
                problems.push_back("cannot read MNIST-10 file " + folder + name);
                break;
            }
    }
}

void check_t_pattern(const std::string& file, std::vector<std::string>& problems)
{
    if (!readable_file(file)) problems.push_back("cannot read T-pattern file " + file);
}

// The options that only runs of data files take, named once each.
void refuse_run_options(const Options& options, std::vector<std::string>& problems)
{
    if (options.run_options.empty()) return;
    problems.push_back(options.run_options.front() +
                       " does not go with --batch: the init file sets the runs of the batch");
}

// Loads the datasets with every thread; a damaged file is bad input too.
std::unique_ptr<Loaded_datasets> load(const Dataset_source& source, int threads)
{
    omp_set_num_threads(threads);
    try {
        return std::make_unique<Loaded_datasets>(source);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantel: %s\n", error.what());
        return nullptr;
    }
}

// Runs the pool to its end, calling `finished` with each run collected.
template <typename On_finished>
void drive(Run_pool& pool, Progress_line& progress, On_finished finished)
{
    do {
        for (const std::size_t run : pool.collect(Progress_interval)) finished(run);
        progress.show(pool.finished_count());
    } while (!pool.over());
    progress.clear();
}

void say_interrupted(std::size_t done, std::size_t total)
{
    std::fprintf(stderr, "vantel: interrupted after %zu of %zu runs; what they computed has been written\n", done,
                 total);
}

// ---- data files -------------------------------------------------------

struct Data_file {
    std::string path;
    std::string sha256;
    int columns = 0;  // as the first line counts them; 0 for an empty line
};

int run_files(const Options& options, const std::string& program_dir)
{
    std::vector<std::string> problems;
    if (!options.init_file.empty()) problems.push_back("--init goes with --batch only");
    if (options.files.empty()) problems.push_back("no data file given (see --help)");

    std::vector<Data_file> files;
    for (const std::string& path : options.files) {
        if (!readable_file(path)) {
            problems.push_back("cannot read data file " + path);
            continue;
        }
        std::vector<std::string> lines;
        try {
            lines = read_data_file(path);
        } catch (const std::exception& error) {
            problems.push_back(error.what());
            continue;
        }
        if (lines.size() < Min_series_lines) {
            problems.push_back(path + " has " + std::to_string(lines.size()) +
                               (lines.size() == 1 ? " line" : " lines") + "; a series needs at least 5");
            continue;
        }
        Data_file file{path, sha256_hex(file_bytes(path)), column_count(lines[0])};
        // A first line without text still gives column 1, as in the window.
        const int usable = std::max(file.columns, 1);
        if (!options.all_columns)
            for (const int c : options.columns)
                if (c > usable) {
                    problems.push_back("column " + std::to_string(c) + " is out of range for " + path +
                                       ", which has " + std::to_string(file.columns) +
                                       (file.columns == 1 ? " column" : " columns"));
                    break;
                }
        files.push_back(file);
    }

    Dataset_source source;
    source.app_dir = program_dir;
    source.mnist_dir = options.mnist_dir.empty() ? program_dir + "MNIST_10/" : options.mnist_dir;
    source.t_pattern_file =
        options.t_pattern_file.empty() ? program_dir + "T_pattern/T-pattern-3.VM" : options.t_pattern_file;
    check_mnist(source.mnist_dir, problems);
    check_t_pattern(source.t_pattern_file, problems);

    if (!options.output.empty()) {
        const std::filesystem::path output(options.output);
        const std::string folder = output.has_parent_path() ? output.parent_path().string() : ".";
        if (is_folder(options.output))
            problems.push_back("cannot write the output to " + options.output + ": it is a folder");
        else if (!is_folder(folder))
            problems.push_back("cannot write the output to " + options.output + ": no folder " + folder);
    }
    if (!problems.empty()) return report_problems(problems);

    // Every combination, file by file, column by column, method by method.
    std::vector<Headless_request> requests;
    std::vector<std::size_t> file_of_run;
    for (std::size_t f = 0; f < files.size(); ++f) {
        std::vector<int> columns = options.columns;
        if (options.all_columns) {
            columns.clear();
            for (int c = 1; c <= std::max(files[f].columns, 1); ++c) columns.push_back(c);
        }
        for (const int c : columns)
            for (const int method : options.methods)
                for (const int epochs : options.epochs) {
                    requests.push_back({files[f].path, std::to_string(c), options.n, method, std::to_string(epochs)});
                    file_of_run.push_back(f);
                }
    }

    const int threads = options.threads > 0 ? options.threads : available_cores();
    const auto datasets = load(source, threads);
    if (!datasets) return Bad_input;

    const std::size_t total = requests.size();
    Run_pool pool(*datasets, requests, threads, stop_requested());
    Progress_line progress(total);
    std::vector<bool> collected(total, false);
    bool failed = false;
    drive(pool, progress, [&](std::size_t run) {
        collected[run] = true;
        const Headless_result& result = pool.result(run);
        if (result.problem.empty()) return;
        failed = true;
        progress.clear();
        const Headless_request& r = requests[run];
        std::fprintf(stderr, "vantel: %s column %s method %d epochs %s: %s\n", r.data_file.c_str(),
                     r.column.c_str(), r.method, r.epochs.c_str(), result.problem.c_str());
    });

    std::vector<Run_record> records;
    const std::size_t per_pair = options.epochs.size();
    for (std::size_t run = 0; run < total; ++run) {
        if (!collected[run]) continue;
        Run_record record{requests[run].data_file, files[file_of_run[run]].sha256, pool.result(run), {}};
        // A run that failed before reading its fields still names them.
        if (record.result.column == 0) record.result.column = read_integer(requests[run].column);
        if (record.result.epochs == 0) record.result.epochs = read_integer(requests[run].epochs);
        if (per_pair == 2 && run % 2 == 1 && collected[run - 1]) {
            const std::string& first = pool.result(run - 1).value_text;
            const std::string& second = record.result.value_text;
            if (!first.empty() && !second.empty())
                record.relative_change = relative_change_text(parse_number(first), parse_number(second), '.');
        }
        records.push_back(std::move(record));
    }
    const bool single_value = total == 1;
    const std::string text = format_records(records, options.format, single_value);
    if (options.output.empty()) {
        std::fputs(text.c_str(), stdout);
    } else if (auto failure = save_text(options.output, text)) {
        std::fprintf(stderr, "vantel: %s\n", failure->c_str());
        failed = true;
    }

    if (stop_requested().load() && records.size() < total) {
        say_interrupted(records.size(), total);
        return Interrupted;
    }
    return failed ? Some_failed : 0;
}

// ---- a data folder -----------------------------------------------------

void print_reports(Folder_batch& batch, Progress_line& progress, bool& failed)
{
    const auto reports = batch.take_reports();
    if (reports.empty()) return;
    progress.clear();
    for (const Batch_report& report : reports) {
        if (report.problem) {
            failed = true;
            std::fprintf(stderr, "vantel: %s\n", report.text.c_str());
        } else {
            std::printf("%s\n", report.text.c_str());
        }
    }
    std::fflush(stdout);
}

int run_batch(const Options& options, const std::string& program_dir)
{
    std::vector<std::string> problems;
    if (!options.files.empty()) problems.push_back("give data files or --batch DIR, not both");
    refuse_run_options(options, problems);
    if (!is_folder(options.batch_dir)) problems.push_back("cannot read the data folder " + options.batch_dir);

    const std::string init_file = options.init_file.empty() ? program_dir + "init.txt" : options.init_file;
    std::vector<std::string> init_lines;
    const bool init_read = readable_file(init_file);
    if (init_read)
        init_lines = split_memo_text(file_bytes(init_file));
    else
        problems.push_back("cannot read init file " + init_file);

    Dataset_source source;
    source.app_dir = program_dir;
    // Init line 5 names the MNIST folder, as step 2 reads it.
    const std::string path_line = init_lines.size() > 5 ? init_lines[5] : std::string();
    source.mnist_dir = !options.mnist_dir.empty()   ? options.mnist_dir
                       : path_line == "Path="       ? program_dir + "MNIST_10/"
                                                    : remove_every(path_line, "Path=");
    source.t_pattern_file =
        options.t_pattern_file.empty() ? program_dir + "T_pattern/T-pattern-3.VM" : options.t_pattern_file;
    // Without the init file the MNIST folder is unknown; its line says why.
    if (init_read || !options.mnist_dir.empty()) check_mnist(source.mnist_dir, problems);
    check_t_pattern(source.t_pattern_file, problems);

    std::string app_dir = options.output.empty() ? program_dir : options.output;
    if (app_dir.back() != '/') app_dir += '/';
    if (!is_folder(app_dir)) problems.push_back("cannot write into " + app_dir + ": no such folder");
    if (!problems.empty()) return report_problems(problems);

    const int threads = options.threads > 0 ? options.threads : available_cores();
    Folder_batch batch({options.batch_dir, app_dir, init_lines});
    const std::size_t total = batch.requests().size();
    Progress_line progress(total);
    bool failed = false;
    print_reports(batch, progress, failed);
    if (total == 0) return failed ? Some_failed : 0;

    const auto datasets = load(source, threads);
    if (!datasets) return Bad_input;
    Run_pool pool(*datasets, batch.requests(), threads, stop_requested());
    std::vector<bool> collected(total, false);
    std::size_t done = 0;
    drive(pool, progress, [&](std::size_t run) {
        collected[run] = true;
        ++done;
        batch.write_finished(pool, collected, false);
        print_reports(batch, progress, failed);
    });
    batch.write_finished(pool, collected, true);
    print_reports(batch, progress, failed);

    if (stop_requested().load() && done < total) {
        say_interrupted(done, total);
        return Interrupted;
    }
    return failed ? Some_failed : 0;
}

}  // namespace
}  // namespace vantel::cli

int main(int argc, char** argv)
{
    using namespace vantel::cli;
    // From the start: a Ctrl-C at any moment ends the process cleanly.
    catch_stop_signals();
    std::vector<std::string> problems;
    const Options options = parse_arguments(std::vector<std::string>(argv + 1, argv + argc), problems);
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (!problems.empty()) return report_problems(problems);
    const std::string program_dir = executable_dir();
    return options.batch_dir.empty() ? run_files(options, program_dir) : run_batch(options, program_dir);
}
