#include "cli/data_runs.h"

#include <exception>

#include "model/step_handlers.h"
#include "series/column_extraction.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel::cli {

Line_cache::Line_cache(const std::vector<Data_file>& files, const std::vector<Run_request>& requests)
    : files_(files), entries_(std::make_unique<Entry[]>(files.size()))
{
    for (const Run_request& request : requests) ++entries_[request.file].runs_left;
}

std::shared_ptr<const std::vector<std::string>> Line_cache::lines(std::size_t file)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    if (!entry.lines)
        entry.lines = std::make_shared<const std::vector<std::string>>(read_data_file(files_[file].path));
    return entry.lines;
}

void Line_cache::run_done(std::size_t file)
{
    Entry& entry = entries_[file];
    const std::lock_guard<std::mutex> hold(entry.lock);
    if (entry.runs_left > 0 && --entry.runs_left == 0) entry.lines.reset();
}

std::vector<double> extract_series(const std::vector<std::string>& lines, const Run_request& request,
                                   Run_record& record)
{
    record.n = corrected_n(read_integer(request.n_text), lines.size());
    // A first line without text still gives column 1, as in the window.
    record.column = corrected_column(request.column, column_count(lines.empty() ? std::string() : lines[0]));
    std::vector<double> series(static_cast<std::size_t>(record.n));
    for (std::size_t k = 0; k < series.size() && k < lines.size(); ++k)
        series[k] = column_value(lines[k], record.column);
    return series;
}

Run_record compute_run(Network& network, const Data_file& file, const std::vector<std::string>& lines,
                       const Run_request& request, const std::atomic<bool>* stop)
{
    Run_record record;
    record.file = file.path;
    record.file_sha256 = file.sha256;
    record.method = request.method;
    record.column = request.column;
    record.epochs = request.epochs;
    try {
        const std::vector<double> series = extract_series(lines, request, record);
        Run_options options;
        options.method = request.method;
        options.epochs = request.epochs;
        options.stop = stop;
        const Run_result result = network.compute(series, options);
        record.correct_count = result.correct_count;
        record.seconds = result.seconds;
        record.w2_sha256 = result.w2_sha256;
        if (result.stopped) {
            record.stopped = true;
            record.problem = "stopped";
            return record;
        }
        record.value_text = result.value_text;
        record.result_row = result_row(std::to_string(record.column), record.value_text,
                                       std::to_string(record.epochs), std::to_string(record.n),
                                       "file name=" + file.path);
    } catch (const std::exception& error) {
        record.problem = error.what();
    }
    return record;
}

Run_pool::Job data_run_job(const std::vector<Data_file>& files, const std::vector<Run_request>& requests,
                           Line_cache& lines, std::vector<Run_record>& computed, const std::atomic<bool>* stop)
{
    return [&files, &requests, &lines, &computed, stop](Network& network, std::size_t run) {
        const Run_request& request = requests[run];
        // The file's lines go after its last run, however that run ends.
        struct Done {
            Line_cache& lines;
            std::size_t file;
            ~Done() { lines.run_done(file); }
        } done{lines, request.file};
        computed[run] = compute_run(network, files[request.file], *lines.lines(request.file), request, stop);
    };
}

}  // namespace vantel::cli
