#include "cli/batch_command.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "base/program_folder.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "batch/init_file.h"
#include "batch/result_files.h"
#include "cli/checks.h"
#include "cli/driving.h"
#include "cli/folder_batch.h"

namespace vantel::cli {

namespace {

// The options that only runs of data files take, named once each.
void refuse_run_options(const Options& options, std::vector<std::string>& problems)
{
    if (options.run_options.empty()) return;
    problems.push_back(options.run_options.front() +
                       " does not go with --batch: the init file sets the runs of the batch");
}

// What a batch reads and writes, each checked before any work.
struct Batch_setup {
    std::vector<std::string> init_lines;
    Dataset_paths paths;
    std::string app_dir;  // receives "Results" and "DATA_RESULT"
};

// The folder exists (or can be made) and takes a new file: checked before
// any work, so that no computed result is lost for want of a place.
void check_writable_folder(const std::string& folder, std::vector<std::string>& problems)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        problems.push_back("cannot write into " + folder + ": " + error.message());
        return;
    }
    if (const auto reason = unwritable_folder(folder))
        problems.push_back("cannot write into " + folder + ": " + *reason);
}

// No result file of the batch replaces a file it reads: a data file (the
// data folder may be the result folder), the init file, the T-pattern or an
// MNIST-10 file.
void check_result_paths(const Options& options, const Batch_setup& setup, const std::string& init_file,
                        std::vector<std::string>& problems)
{
    const std::vector<std::string> names = data_file_names(options.batch_dir);
    std::vector<std::string> data_files;
    for (const std::string& name : names) data_files.push_back(options.batch_dir + name);
    std::vector<Input_file> inputs = job_inputs(data_files, setup.paths.t_pattern_file, setup.paths.mnist_dir);
    inputs.push_back({init_file, "init file"});
    for (const std::string& name : names)
        if (const auto problem = output_is_input(batch_result_path(setup.app_dir, name), inputs)) {
            problems.push_back(*problem);
            return;
        }
}

void print_reports(Folder_batch& batch, Progress_line& progress, bool& failed)
{
    const auto reports = batch.take_reports();
    if (reports.empty()) return;
    progress.clear();
    for (const Batch_report& report : reports) {
        if (report.problem) {
            failed = true;
            say(report.text);
        } else {
            std::printf("%s\n", report.text.c_str());
        }
    }
    std::fflush(stdout);
}

// The init file's lines; `usable` when none is damaged.
std::vector<std::string> read_init_file(const std::string& path, bool& usable, std::vector<std::string>& problems)
{
    usable = false;
    if (::access(path.c_str(), R_OK) != 0) {
        problems.push_back("cannot read init file " + path + ": " + std::strerror(errno));
        return {};
    }
    std::vector<std::string> lines;
    try {
        lines = split_lines(load_text_file(path));
        // Unattended, a damaged line must not become a default in silence.
        const std::vector<std::string> damaged = init_file_problems(path, lines);
        problems.insert(problems.end(), damaged.begin(), damaged.end());
        usable = damaged.empty();
    } catch (const std::exception& error) {
        problems.push_back(error.what());
    }
    return lines;
}

Batch_setup check_batch(const Options& options, const std::string& program_dir, std::vector<std::string>& problems)
{
    if (!options.files.empty()) problems.push_back("give data files or --batch DIR, not both");
    refuse_run_options(options, problems);
    if (!is_folder(options.batch_dir)) problems.push_back("cannot read the data folder " + options.batch_dir);

    Batch_setup setup;
    bool init_read = false;
    const std::string init_file = options.init_file.empty() ? program_dir + "init.txt" : options.init_file;
    setup.init_lines = read_init_file(init_file, init_read, problems);
    // Init line 6 names the MNIST folder, as step 2 reads it.
    const std::string path_line = setup.init_lines.size() > 5 ? setup.init_lines[5] : std::string();
    setup.paths = dataset_paths(options, program_dir,
                                path_line == "Path=" ? default_mnist_folder(program_dir)
                                                     : remove_every(path_line, "Path="));
    // Without the init file the MNIST folder is unknown; its line says why.
    if (init_read || !options.mnist_dir.empty()) check_mnist(setup.paths.mnist_dir, problems);
    check_t_pattern(setup.paths.t_pattern_file, problems);

    setup.app_dir = with_slash(options.output.empty() ? program_dir : options.output);
    if (!is_folder(setup.app_dir)) {
        problems.push_back("cannot write into " + setup.app_dir + ": no such folder");
    } else {
        check_writable_folder(setup.app_dir + "Results/", problems);
        check_writable_folder(setup.app_dir + "DATA_RESULT/", problems);
        if (is_folder(options.batch_dir)) check_result_paths(options, setup, init_file, problems);
    }
    return setup;
}

}  // namespace

int run_batch(const Options& options, const std::string& program_dir)
{
    std::vector<std::string> problems;
    const Batch_setup setup = check_batch(options, program_dir, problems);
    if (!problems.empty()) return report_problems(problems);

    const int threads = options.threads > 0 ? options.threads : available_cores();
    Folder_batch batch({options.batch_dir, setup.app_dir, setup.init_lines});
    if (batch.listed() == 0) {
        say("no *.txt file in the data folder " + options.batch_dir + ": nothing to compute");
        return Some_failed;
    }
    const std::vector<Series_job>& jobs = batch.jobs();
    std::size_t total = 0;
    for (const Series_job& job : jobs) total += job.epochs.size();
    Progress_line progress({total, epochs_to_train(jobs)});
    bool failed = false;
    std::vector<std::vector<Run_record>> computed(jobs.size());
    std::vector<const std::vector<Run_record>*> finished(jobs.size(), nullptr);
    // The files before the first one computed.
    batch.write_finished(finished, jobs.empty());
    print_reports(batch, progress, failed);
    if (jobs.empty()) return failed ? Some_failed : 0;

    const auto datasets = load_datasets(setup.paths, threads);
    if (!datasets) return Bad_input;
    Table_cache tables(batch.files(), jobs);
    Network_pool networks(datasets);
    const std::size_t done = run_jobs({networks, threads, batch.files(), jobs, tables, computed}, progress,
                                      [&](std::size_t j) {
                                          finished[j] = &computed[j];
                                          batch.write_finished(finished, false);
                                          print_reports(batch, progress, failed);
                                          std::size_t runs = 0;
                                          for (const Run_record& record : computed[j]) runs += !record.stopped;
                                          return runs;
                                      });
    batch.write_finished(finished, true);
    print_reports(batch, progress, failed);

    if (stop_requested().load() && done < total) {
        say("interrupted after " + std::to_string(done) + " of " + std::to_string(total) +
            " runs; the files of the finished columns have been written");
        return Interrupted;
    }
    return failed ? Some_failed : 0;
}

}  // namespace vantel::cli
