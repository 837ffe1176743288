#include "batch/batch_rules.h"

#include <algorithm>

#include "engine/vantel.h"

namespace vantel {

bool is_turbo(const std::vector<std::string>& lines)
{
    return !lines.empty() && lines[0] == Turbo_marker;
}

Batch_file_plan plan_batch_file(const std::vector<std::string>& lines)
{
    Batch_file_plan plan;
    const std::size_t preview = std::min(lines.size(), Max_preview_lines);
    const bool turbo = is_turbo(lines);
    const bool short_file = preview <= Max_short_file;
    plan.placeholder = turbo && short_file;
    plan.not_correct = !turbo && short_file;
    if (turbo) return plan;
    plan.refused = preview < Min_batch_preview;
    plan.computed = !plan.refused;
    plan.runs_refused = plan.computed && lines.size() < static_cast<std::size_t>(Min_series_length);
    return plan;
}

bool batch_goes_on(std::string_view first, std::string_view second, std::int32_t c, std::int32_t column_count,
                   bool stop_requested)
{
    // ">=" and not "==": a first line without tabs or text counts 0 columns,
    // and a file opened during a pump may have fewer than c.
    return !first.empty() && !second.empty() && c < column_count && !stop_requested;
}

}  // namespace vantel
