#include "cli/data_runs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>

#include "batch/result_files.h"
#include "batch/result_row.h"
#include "series/text_readers.h"

namespace vantel::cli {

Table_cache::Table_cache(const std::vector<Data_file>& files, const std::vector<Series_job>& jobs)
    : files_(files), entries_(std::make_unique<Entry[]>(files.size()))
{
    for (const Series_job& job : jobs) entries_[job.file].runs_left += job.runs();
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

void Table_cache::run_done(std::size_t file)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    if (entry.runs_left > 0 && --entry.runs_left == 0 && !entry.kept) entry.table.reset();
}

Job_runs::Job_runs(const std::vector<Series_job>& jobs)
{
    first_.reserve(jobs.size() + 1);
    first_.push_back(0);
    for (const Series_job& job : jobs) first_.push_back(first_.back() + job.runs());
}

Job_runs::Place Job_runs::place(std::size_t run) const
{
    const auto after = std::upper_bound(first_.begin(), first_.end(), run);
    const auto job = static_cast<std::size_t>(after - first_.begin()) - 1;
    return {job, run - first_[job]};
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
    record.scale = job.scale;
    record.surrogates = job.surrogates;
    return record;
}

// A double as its shortest text that reads back as it; empty for NaN.
std::string number_text(double x)
{
    if (std::isnan(x)) return {};
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, x).ptr;
    return {text, end};
}

// The double nearest to a value's text, as Run_result::value is.
double value_of(const std::string& text)
{
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
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
                                    const Series_job& job, std::size_t variant, bool strict,
                                    const std::atomic<bool>* stop, std::atomic<std::size_t>* epochs_trained)
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
        series = rescaled(variant_series(coarse_grained(read.values, job.scale), job.surrogates, variant),
                          job.rescale);
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

std::vector<Run_record> with_surrogates(const Series_job& job, std::vector<std::vector<Run_record>> variants)
{
    std::vector<Run_record> records = std::move(variants.front());
    if (job.surrogates.count == 0) return records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Run_record& record = records[i];
        if (record.value_text.empty()) continue;
        std::vector<double> values;
        for (std::size_t v = 1; v < variants.size(); ++v) {
            const Run_record& surrogate = variants[v][i];
            if (surrogate.value_text.empty()) {
                record.stopped = surrogate.stopped;
                record.problem = surrogate.stopped ? "stopped"
                                                   : "surrogate " + std::to_string(v) + " of " +
                                                         std::to_string(job.surrogates.count) + ": " +
                                                         surrogate.problem;
                break;
            }
            record.surrogate_values.push_back(surrogate.value_text);
            values.push_back(value_of(surrogate.value_text));
        }
        if (!record.problem.empty()) {
            // The series' value alone would pass for a complete record.
            record.value_text.clear();
            record.result_row.clear();
            record.relative_change.clear();
            record.surrogate_values.clear();
            continue;
        }
        const Surrogate_summary summary = summarize_surrogates(value_of(record.value_text), values);
        record.surrogate_mean = number_text(summary.mean);
        record.surrogate_sd = number_text(summary.sd);
        record.z_score = number_text(summary.z_score);
        record.p_value = number_text(summary.p_value);
    }
    // A record whose change was cleared cannot give the next one its change.
    if (job.relative_change && records.size() == 2 && records[0].value_text.empty()) records[1].relative_change.clear();
    return records;
}

Run_pool::Job series_job_runner(const Job_run_plan& plan, Table_cache& tables,
                                std::vector<std::vector<std::vector<Run_record>>>& variants, bool strict,
                                const std::atomic<bool>* stop, std::atomic<std::size_t>* epochs_trained)
{
    return [&plan, &tables, &variants, strict, stop, epochs_trained](Network& network, std::size_t run) {
        const auto [j, variant] = plan.runs.place(run);
        const Series_job& job = plan.jobs[j];
        // The file's table goes after its last run, however that run ends.
        struct Done {
            Table_cache& tables;
            std::size_t file;
            ~Done() { tables.run_done(file); }
        } done{tables, job.file};
        const Data_file& file = plan.files[job.file];
        try {
            variants[j][variant] =
                compute_job(network, file, *tables.table(job.file), job, variant, strict, stop, epochs_trained);
        } catch (const std::exception& error) {
            variants[j][variant] = job_records(*network.datasets(), file, job, error.what());
        }
    };
}

std::size_t epochs_to_train(const std::vector<Series_job>& jobs)
{
    std::size_t epochs = 0;
    for (const Series_job& job : jobs)
        if (!job.epochs.empty())
            epochs += job.runs() * static_cast<std::size_t>(*std::max_element(job.epochs.begin(), job.epochs.end()));
    return epochs;
}

}  // namespace vantel::cli
