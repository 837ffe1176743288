// vantel: Vantel values without the window, for many series at once.
//
// The data files are read with the window's own readers (lines, fields, the
// number parser, N and the column corrected as Show corrects them) and every
// value is computed through the computation API, so it is the one START
// shows for the same inputs, whatever the number of threads. See Usage in
// options.cpp.
#include <omp.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/program_folder.h"
#include "base/sha256.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "batch/result_files.h"
#include "cli/data_runs.h"
#include "cli/folder_batch.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/records.h"
#include "engine/datasets.h"
#include "engine/run_pool.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel::cli {
namespace {

constexpr int Bad_input = 2;
constexpr int Some_failed = 1;
constexpr int Interrupted = 130;  // as a shell reports a process ended by Ctrl-C
constexpr auto Progress_interval = std::chrono::milliseconds(500);

int report_problems(const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems) std::fprintf(stderr, "vantel: %s\n", problem.c_str());
    return Bad_input;
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

void check_mnist(const std::string& folder, std::vector<std::string>& problems)
{
    if (!folder.empty() && !is_folder(folder)) {
        problems.push_back("cannot find the MNIST-10 folder " + folder);
    } else {
        for (const char* name : {Train_images_file, Train_labels_file, Test_images_file, Test_labels_file})
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
std::shared_ptr<const Datasets> load(const Dataset_paths& paths, int threads)
{
    omp_set_num_threads(threads);
    try {
        return Datasets::load(paths);
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
        if (lines.size() < static_cast<std::size_t>(Min_series_length)) {
            problems.push_back(path + " has " + std::to_string(lines.size()) +
                               (lines.size() == 1 ? " line" : " lines") + "; a series needs at least 5");
            continue;
        }
        Data_file file{path, file_sha256(path), column_count(lines[0])};
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

    Dataset_paths paths;
    paths.mnist_dir = options.mnist_dir.empty() ? default_mnist_folder(program_dir) : options.mnist_dir;
    paths.t_pattern_file =
        options.t_pattern_file.empty() ? default_t_pattern_file(program_dir) : options.t_pattern_file;
    check_mnist(paths.mnist_dir, problems);
    check_t_pattern(paths.t_pattern_file, problems);

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
    std::vector<Run_request> requests;
    for (std::size_t f = 0; f < files.size(); ++f) {
        std::vector<int> columns = options.columns;
        if (options.all_columns) {
            columns.clear();
            for (int c = 1; c <= std::max(files[f].columns, 1); ++c) columns.push_back(c);
        }
        for (const int c : columns)
            for (const int method : options.methods)
                for (const int epochs : options.epochs) requests.push_back({f, c, method, epochs, options.n});
    }

    const int threads = options.threads > 0 ? options.threads : available_cores();
    const auto datasets = load(paths, threads);
    if (!datasets) return Bad_input;

    const std::size_t total = requests.size();
    std::vector<Run_record> computed(total);
    Line_cache lines(files, requests);
    Run_pool pool(
        datasets, total, threads,
        data_run_job(files, requests, lines, computed, nullptr),
        stop_requested());
    Progress_line progress(total);
    std::vector<bool> collected(total, false);
    bool failed = false;
    drive(pool, progress, [&](std::size_t run) {
        collected[run] = true;
        Run_record& record = computed[run];
        const Run_request& request = requests[run];
        if (!pool.failure(run).empty()) {
            // The file could not be read again, say.
            record.file = files[request.file].path;
            record.file_sha256 = files[request.file].sha256;
            record.column = request.column;
            record.method = request.method;
            record.epochs = request.epochs;
            record.problem = pool.failure(run);
        }
        if (record.problem.empty()) return;
        failed = true;
        progress.clear();
        std::fprintf(stderr, "vantel: %s column %d method %d epochs %d: %s\n", record.file.c_str(), request.column,
                     request.method, request.epochs, record.problem.c_str());
    });

    std::vector<Run_record> records;
    const std::size_t per_pair = options.epochs.size();
    for (std::size_t run = 0; run < total; ++run) {
        if (!collected[run]) continue;
        Run_record record = computed[run];
        if (per_pair == 2 && run % 2 == 1 && collected[run - 1]) {
            const std::string& first = computed[run - 1].value_text;
            const std::string& second = record.value_text;
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
        init_lines = split_lines(load_text_file(init_file));
    else
        problems.push_back("cannot read init file " + init_file);

    Dataset_paths paths;
    // Init line 5 names the MNIST folder, as step 2 reads it.
    const std::string path_line = init_lines.size() > 5 ? init_lines[5] : std::string();
    paths.mnist_dir = !options.mnist_dir.empty() ? options.mnist_dir
                      : path_line == "Path="     ? default_mnist_folder(program_dir)
                                                 : remove_every(path_line, "Path=");
    paths.t_pattern_file =
        options.t_pattern_file.empty() ? default_t_pattern_file(program_dir) : options.t_pattern_file;
    // Without the init file the MNIST folder is unknown; its line says why.
    if (init_read || !options.mnist_dir.empty()) check_mnist(paths.mnist_dir, problems);
    check_t_pattern(paths.t_pattern_file, problems);

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

    const auto datasets = load(paths, threads);
    if (!datasets) return Bad_input;
    const std::vector<Data_file>& files = batch.files();
    const std::vector<Run_request>& requests = batch.requests();
    std::vector<Run_record> computed(total);
    std::vector<const Run_record*> finished(total, nullptr);
    Line_cache lines(files, requests);
    Run_pool pool(
        datasets, total, threads,
        data_run_job(files, requests, lines, computed, nullptr),
        stop_requested());
    std::size_t done = 0;
    drive(pool, progress, [&](std::size_t run) {
        if (!pool.failure(run).empty()) computed[run].problem = pool.failure(run);
        finished[run] = &computed[run];
        ++done;
        batch.write_finished(finished, false);
        print_reports(batch, progress, failed);
    });
    batch.write_finished(finished, true);
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
    std::string program_dir = vantel::executable_folder();
    if (program_dir.empty()) program_dir = "./";
    return options.batch_dir.empty() ? run_files(options, program_dir) : run_batch(options, program_dir);
}
