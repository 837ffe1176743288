#include "cli/file_runs.h"

#include <algorithm>

#include "base/program_folder.h"
#include "cli/checks.h"
#include "cli/driving.h"
#include "cli/file_plan.h"
#include "cli/file_report.h"
#include "cli/record_output.h"

namespace vantel::cli {

namespace {

void check_file_options(const Options& options, std::vector<std::string>& problems)
{
    if (!options.init_file.empty()) problems.push_back("--init goes with --batch only");
    if (options.files.empty()) problems.push_back("no data file given (see --help)");
    if (std::count(options.files.begin(), options.files.end(), "-") > 1)
        problems.push_back("standard input (-) is given more than once: it can be read only once");
}

}  // namespace

int run_files(const Options& options, const std::string& program_dir)
{
    // Check: every argument and file, before any work.
    std::vector<std::string> problems;
    check_file_options(options, problems);
    const Given_files given = read_given_files(options, problems);
    const Dataset_paths paths = dataset_paths(options, program_dir, default_mnist_folder(program_dir));
    check_mnist(paths.mnist_dir, problems);
    check_t_pattern(paths.t_pattern_file, problems);
    check_output_file(options, job_inputs(options.files, paths.t_pattern_file, paths.mnist_dir), problems);
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

    // Plan: every run that the output does not hold yet.
    const Job_factory planned = plan_runs(options, given, output->done());
    const std::vector<Series_job>& jobs = planned.jobs();

    // Run, writing each record as its run finishes.
    Table_cache tables(given.files, jobs);
    for (std::size_t f = 0; f < given.files.size(); ++f)
        if (given.kept_tables[f]) tables.keep(f, given.kept_tables[f]);
    std::vector<std::vector<Run_record>> computed(jobs.size());
    Progress_line progress({planned.wanted(), epochs_to_train(jobs)});
    File_report report(*output, progress);
    Network_pool networks(datasets);
    const std::size_t done =
        run_jobs({networks, threads, given.files, jobs, tables, computed, options.strict}, progress,
                 [&](std::size_t j) { return report.take(jobs[j], computed[j]); });

    // Report: what is written whole, and how the runs ended.
    return report.finish(planned.planned() == 1, options.window > 0 || options.start > 1, done, planned.wanted());
}

}  // namespace vantel::cli
