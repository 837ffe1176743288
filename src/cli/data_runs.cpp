#include "cli/data_runs.h"

#include <algorithm>
#include <exception>

#include "batch/result_files.h"
#include "batch/result_row.h"
#include "series/text_readers.h"

namespace vantel::cli {

Table_cache::Table_cache(const std::vector<Data_file>& files, const std::vector<Series_job>& jobs)
    : files_(files), entries_(std::make_unique<Entry[]>(files.size()))
{
    for (const Series_job& job : jobs) ++entries_[job.file].jobs_left;
}

void Table_cache::keep(std::size_t file, std::shared_ptr<const Data_table> table)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    entry.table = std::move(table);
    entry.kept = true;
}

std::shared_ptr<const Data_table> Table_cache::table(std::size_t file)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    if (!entry.table) {
        const Data_file& planned = files_[file];
        std::error_code error;
        const auto size = std::filesystem::file_size(planned.path, error);
        const auto modified = std::filesystem::last_write_time(planned.path, error);
        if (error || size != planned.size || modified != planned.modified)
            throw Vantel_error("the file " + planned.path + " changed while the runs were in progress");
        entry.table = std::make_shared<const Data_table>(read_data_table(planned.path));
    }
    return entry.table;
}

void Table_cache::job_done(std::size_t file)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    if (entry.jobs_left > 0 && --entry.jobs_left == 0 && !entry.kept) entry.table.reset();
}

namespace {

Run_record record_of(const Datasets& datasets, const Data_file& file, const Series_job& job, int epochs)
{
    Run_record record;
    record.datasets_sha256 = datasets.mnist_sha256();
    record.file = file.path;
    record.file_sha256 = file.sha256;
    record.n = job.n;
    record.column = job.column;
    record.method = job.method;
    record.epochs = epochs;
    record.start = job.start;
    record.window = job.window;
    record.rescale = job.rescale;
    return record;
}

}  // namespace

std::vector<Run_record> job_records(const Datasets& datasets, const Data_file& file, const Series_job& job,
                                   const std::string& problem, const std::vector<std::string>& warnings)
{
    std::vector<Run_record> records;
    for (const int epochs : job.epochs) {
        Run_record& record = records.emplace_back(record_of(datasets, file, job, epochs));
        record.problem = problem;
        record.warnings = warnings;
        // Not about the series: --strict passes it.
        if (!datasets.mnist_warning().empty()) record.warnings.push_back(datasets.mnist_warning());
    }
    return records;
}

std::vector<Run_record> compute_job(Network& network, const Data_file& file, const Data_table& table,
                                    const Series_job& job, bool strict, const std::atomic<bool>* stop,
                                    std::atomic<std::size_t>* epochs_trained)
{
    const Datasets& datasets = *network.datasets();
    std::vector<std::string> warnings = file.warnings;
    std::vector<double> series;
    try {
        Column_read read = read_column(table, job.column, static_cast<std::size_t>(job.start),
                                       static_cast<std::size_t>(job.n));
        const std::vector<std::string> of_column = column_warnings(table, read);
        warnings.insert(warnings.end(), of_column.begin(), of_column.end());
        if (const auto problem = column_problem(table, read))
            return job_records(datasets, file, job, *problem, warnings);
        series = rescaled(read.values, job.rescale);
    } catch (const std::exception& error) {
        return job_records(datasets, file, job, error.what(), warnings);
    }
    if (strict && !warnings.empty())
        return job_records(datasets, file, job, "refused by --strict: " + warnings.front(), warnings);

    std::vector<Run_record> records = job_records(datasets, file, job, "", warnings);
    try {
        Run_options options;
        options.method = job.method;
        options.stop = stop;
        if (epochs_trained) options.after_epoch = [epochs_trained](int) { ++*epochs_trained; };
        const std::vector<Run_result> results = network.compute_each(series, job.epochs, options);
        for (std::size_t i = 0; i < results.size(); ++i) {
            const Run_result& result = results[i];
            Run_record& record = records[i];
            if (result.stopped) {
                record.stopped = true;
                record.problem = "stopped";
                continue;
            }
            record.value_text = result.value_text;
            record.correct_count = result.correct_count;
            record.seconds = result.seconds;
            record.w2_sha256 = result.w2_sha256;
            record.datasets_sha256 = result.datasets_sha256;
            record.result_row = result_row(std::to_string(record.column), record.value_text,
                                           std::to_string(record.epochs), std::to_string(record.n),
                                           "file name=" + file.path);
        }
    } catch (const std::exception& error) {
        for (Run_record& record : records) record.problem = error.what();
    }
    if (job.relative_change && records.size() == 2 && !records[0].value_text.empty() &&
        !records[1].value_text.empty())
        records[1].relative_change = relative_change_text(parse_number(records[0].value_text),
                                                          parse_number(records[1].value_text), '.');
    return records;
}

Run_pool::Job series_job_runner(const std::vector<Data_file>& files, const std::vector<Series_job>& jobs,
                                Table_cache& tables, std::vector<std::vector<Run_record>>& records, bool strict,
                                const std::atomic<bool>* stop, std::atomic<std::size_t>* epochs_trained)
{
    return [&files, &jobs, &tables, &records, strict, stop, epochs_trained](Network& network, std::size_t i) {
        const Series_job& job = jobs[i];
        // The file's table goes after its last job, however that job ends.
        struct Done {
            Table_cache& tables;
            std::size_t file;
            ~Done() { tables.job_done(file); }
        } done{tables, job.file};
        try {
            records[i] =
                compute_job(network, files[job.file], *tables.table(job.file), job, strict, stop, epochs_trained);
        } catch (const std::exception& error) {
            records[i] = job_records(*network.datasets(), files[job.file], job, error.what());
        }
    };
}

std::size_t epochs_to_train(const std::vector<Series_job>& jobs)
{
    std::size_t epochs = 0;
    for (const Series_job& job : jobs)
        if (!job.epochs.empty()) epochs += static_cast<std::size_t>(*std::max_element(job.epochs.begin(), job.epochs.end()));
    return epochs;
}

}  // namespace vantel::cli
