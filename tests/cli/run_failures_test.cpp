// Runs on synthetic datasets, not the published MNIST-10 files: every record
// says so, --strict still computes, a network that cannot be made fails each run.
#include <gtest/gtest.h>

#include "cli/command_runner.h"
#include "cli/driving.h"
#include "cli/file_report.h"
#include "cli/job_factory.h"
#include "support/synthetic_mnist.h"

namespace vantel::test {
namespace {

using namespace vantel::cli;

TEST(Run_failures, runs_say_which_datasets_they_used_and_fail_without_a_network)
{
    const auto datasets = Datasets::load({synthetic().mnist, synthetic().app + "T_pattern/T-pattern-3.VM"});
    Temp_dir dir;
    const std::string path = dir.write("series.txt", series_rows(40, 2));
    const std::vector<Data_file> files = {describe_file(path, read_data_table(path))};
    Job_factory factory;
    factory.add_file(0, files[0], {.all_columns = true, .columns = {}, .methods = {5}, .n = "30", .epochs = {2, 1}});
    const std::vector<Series_job>& jobs = factory.jobs();
    const auto said = [&](const std::vector<Run_record>& records, const std::string& problem) {
        for (const Run_record& r : records) {
            EXPECT_EQ(r.problem, problem);
            EXPECT_EQ(r.value_text.empty(), !problem.empty());
            EXPECT_EQ(r.datasets_sha256, datasets->mnist_sha256());
            EXPECT_EQ(r.warnings, std::vector<std::string>{datasets->mnist_warning()});
        }
    };
    Network network(datasets);
    said(compute_job(network, files[0], read_data_table(path), jobs[0], 0, true, nullptr), "");

    Network_pool failing(datasets, [](const auto&) -> std::unique_ptr<Network> { throw Vantel_error("no memory"); });
    Table_cache tables(files, jobs);
    std::vector<std::vector<Run_record>> records(jobs.size());
    Progress_line progress({4, 4});
    Record_output output(Format::jsonl, (dir.path() / "runs.jsonl").string(), false);
    File_report report(output, progress);
    run_jobs({failing, 2, files, jobs, tables, records}, progress,
             [&](std::size_t j) { return report.take(jobs[j], records[j]); });
    EXPECT_EQ(report.finish(false, false, 4, 4), Some_failed);
    for (const auto& job_records : records) said(job_records, "cannot make a network for the run: no memory");
}

}  // namespace
}  // namespace vantel::test
