#include "cli/job_factory.h"

#include <algorithm>
#include <filesystem>

#include "base/sha256.h"
#include "engine/vantel.h"
#include "series/column_extraction.h"
#include "series/text_readers.h"

namespace vantel::cli {

Data_file describe_file(const std::string& path, const Data_table& table)
{
    Data_file file;
    file.path = path;
    file.sha256 = file_sha256(path);
    file.columns = table.column_count;
    file.lines = table.lines.size();
    file.warnings = table.warnings;
    std::error_code error;
    file.size = std::filesystem::file_size(path, error);
    file.modified = std::filesystem::last_write_time(path, error);
    return file;
}

std::vector<int> series_starts(const Series_plan& plan, std::size_t lines)
{
    if (plan.window == 0) return {plan.start};
    std::vector<int> starts;
    const auto first = static_cast<std::size_t>(plan.start);
    if (first > lines) return starts;
    for (const std::size_t s : window_starts(lines - first + 1, static_cast<std::size_t>(plan.window),
                                             static_cast<std::size_t>(std::max(plan.step, 0))))
        starts.push_back(static_cast<int>(first + s));
    return starts;
}

void Job_factory::add_file(std::size_t file, const Data_file& description, const Series_plan& plan)
{
    std::vector<int> columns = plan.columns;
    if (plan.all_columns) {
        columns.clear();
        // A first line without text still gives column 1, as in the window.
        for (int c = 1; c <= std::max(description.columns, 1); ++c) columns.push_back(c);
    }
    const std::vector<int> starts = series_starts(plan, description.lines);
    for (const int c : columns)
        for (const int method : plan.methods)
            for (const int start : starts)
                for (const int scale : plan.scales) {
                    Series_job job;
                    job.file = file;
                    job.column = c;
                    job.method = method;
                    job.start = start;
                    job.window = plan.window;
                    job.n = plan.window > 0 ? plan.window
                                            : corrected_n(read_integer(plan.n),
                                                          description.lines - static_cast<std::size_t>(start) + 1);
                    job.rescale = plan.rescale;
                    job.epochs = plan.epochs;
                    job.relative_change = plan.relative_change;
                    job.scale = scale;
                    job.surrogates = plan.surrogates;
                    job.first_record = planned_;
                    planned_ += plan.epochs.size();
                    bool any = false;
                    for (const int e : plan.epochs) {
                        const bool needed =
                            !done_ || !done_->count(run_key(Run_identity{.file = description.path,
                                                             .file_sha256 = description.sha256,
                                                             .column = c,
                                                             .method = method,
                                                             .epochs = e,
                                                             .n = job.n,
                                                             .start = start,
                                                             .window = job.window,
                                                             .rescale = job.rescale,
                                                             .scale = scale,
                                                             .surrogates = job.surrogates}));
                        job.wanted.push_back(needed);
                        any = any || needed;
                        wanted_ += needed;
                    }
                    if (any) jobs_.push_back(std::move(job));
                }
}

}  // namespace vantel::cli
