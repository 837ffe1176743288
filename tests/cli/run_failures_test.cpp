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

TEST(Run_failures, a_surrogate_without_a_value_leaves_its_series_without_one)
{
    // Summing the surrogates that have values would give a summary of fewer
    // than were asked for, with nothing to tell.
    Series_job job;
    job.epochs = {1};
    job.surrogates.count = 2;
    const auto valued = [](const char* value) {
        Run_record r;
        r.value_text = value;
        r.result_row = "row";
        return std::vector<Run_record>{r};
    };
    std::vector<Run_record> failed(1), stopped(1);
    failed[0].problem = "Floating point overflow";
    stopped[0].stopped = true;
    struct Case {
        std::vector<Run_record> second;
        std::string problem;
    };
    for (const Case& c : {Case{valued("0.3"), ""}, Case{failed, "surrogate 2 of 2: Floating point overflow"},
                          Case{stopped, "stopped"}}) {
        const Run_record r = with_surrogates(job, {valued("0.5"), valued("0.1"), c.second}).front();
        EXPECT_EQ(r.problem, c.problem);
        EXPECT_EQ(r.stopped, c.second[0].stopped);
        EXPECT_EQ(r.value_text.empty() && r.result_row.empty(), !c.problem.empty());
        EXPECT_EQ(r.surrogate_values.size(), c.problem.empty() ? 2u : 0u);
        EXPECT_EQ(r.p_value.empty(), !c.problem.empty());
    }
}

}  // namespace
}  // namespace vantel::test
