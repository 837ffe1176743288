#include "cli/folder_batch.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "model/memory_window.h"
#include "batch/result_files.h"
#include "batch/texts.h"
#include "model/initial_texts.h"
#include "series/data_file.h"

namespace vantel::cli {

namespace {

constexpr std::size_t Max_preview_lines = 10;
constexpr std::size_t Max_short_file = 2;   // lines of a file the batch does not preview
constexpr std::size_t Min_run_lines = 5;    // fewer, and START refuses every run
constexpr std::string_view Turbo_marker = "TURBO";
constexpr char Decimal_separator = '.';

std::string line_of(const std::vector<std::string>& lines, std::size_t i)
{
    return i < lines.size() ? lines[i] : std::string();
}

}  // namespace

std::vector<std::string> Folder_batch::data_file_names(const std::string& folder)
{
    // As start-up lists the data folder: every entry named "*.txt", folders
    // and hidden files included; a folder then fails as a file that cannot
    // be read. Sorted, so that runs of the same folder go in the same order.
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (const std::filesystem::directory_iterator end; !error && entries != end; entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Folder_batch::Folder_batch(const Batch_settings& settings) : settings_(settings)
{
    n_text_ = remove_every(line_of(settings_.init_lines, 4), "N=");
    const std::string method_line = line_of(settings_.init_lines, 3);
    for (int k = 1; k <= 6; ++k)
        if (method_line == "METHOD=" + std::to_string(k)) method_ = k;
    for (const std::string& name : data_file_names(settings_.data_dir)) plan(name);
}

void Folder_batch::problem(const File& file, const std::string& text)
{
    reports_.push_back({true, file.path + ": " + text});
}

void Folder_batch::save(const std::string& path, const std::vector<std::string>& lines, const File& file)
{
    if (auto failure = save_lines(path, lines))
        problem(file, *failure);
    else
        reports_.push_back({false, path});
}

void Folder_batch::save_run_log(const std::vector<std::string>& rows, const File& file)
{
    const Run_log_outcome outcome = save_new_run_log(settings_.app_dir, rows);
    if (outcome.failure)
        problem(file, *outcome.failure);
    else
        reports_.push_back({false, outcome.path});
}

void Folder_batch::plan(const std::string& name)
{
    File file;
    file.name = name;
    file.path = settings_.data_dir + name;
    file.written = true;  // unless runs are planned below

    std::vector<std::string> lines;
    try {
        lines = read_data_file(file.path);
    } catch (const std::exception& error) {
        problem(file, std::string("skipped (") + error.what() + ")");
        files_.push_back(file);
        return;
    }
    if (lines.empty()) {
        problem(file, "skipped (the file is empty)");
        files_.push_back(file);
        return;
    }

    const bool turbo = lines[0] == Turbo_marker;
    const std::size_t preview = std::min(lines.size(), Max_preview_lines);
    const std::string result_path = batch_result_path(settings_.app_dir, name);
    if (preview <= Max_short_file) {
        if (turbo)
            save(result_path, split_memo_text(initial_text(Control::Memo6)), file);
        else
            problem(file, "File is not correct");
    }
    if (turbo) {
        files_.push_back(file);
        return;
    }
    if (preview < Max_short_file) {
        // The all-columns batch takes no file of a single line.
        problem(file, "File not correct");
    } else if (lines.size() < Min_run_lines) {
        // START refuses every run of such a file; the all-columns batch
        // still writes its files, with a line of empty values.
        problem(file, "Please load data!");
        save_run_log({}, file);
        save(result_path, {batch_result_line("", "", Decimal_separator)}, file);
    } else {
        file.columns = std::max(1, static_cast<int>(column_count(lines[0])));
        file.first_run = requests_.size();
        file.written = false;
        for (int c = 1; c <= file.columns; ++c)
            for (int run = 0; run < 2; ++run)
                requests_.push_back(
                    {file.path, std::to_string(c), n_text_, method_, line_of(settings_.init_lines, run)});
    }
    files_.push_back(file);
}

void Folder_batch::write_computed(File& file, const Run_pool& pool, const std::vector<bool>& collected)
{
    // The all-columns batch's loop over the results: a column whose run
    // failed or published nothing is the last, and both files are written
    // with what came before it.
    std::vector<std::string> rows;
    std::vector<std::string> lines;
    bool any = false;
    for (int c = 1; c <= file.columns; ++c) {
        const std::size_t run = file.first_run + 2 * static_cast<std::size_t>(c - 1);
        if (!collected[run] || !collected[run + 1]) break;  // stopped before it
        any = true;
        const Headless_result& first = pool.result(run);
        if (!first.problem.empty()) {
            problem(file, first.problem);
            break;
        }
        if (!first.result_row.empty()) rows.push_back(first.result_row);
        if (first.value_text.empty()) {
            lines.push_back(batch_result_line("", "", Decimal_separator));
            break;
        }
        const Headless_result& second = pool.result(run + 1);
        if (!second.problem.empty()) {
            problem(file, second.problem);
            break;
        }
        if (!second.result_row.empty()) rows.push_back(second.result_row);
        lines.push_back(batch_result_line(first.value_text, second.value_text, Decimal_separator));
        if (second.value_text.empty()) break;
    }
    file.written = true;
    if (!any) return;
    save_run_log(rows, file);
    save(batch_result_path(settings_.app_dir, file.name), lines, file);
}

void Folder_batch::write_finished(const Run_pool& pool, const std::vector<bool>& collected, bool final)
{
    for (File& file : files_) {
        if (file.written) continue;
        bool done = true;
        for (std::size_t run = file.first_run; run < file.first_run + 2 * static_cast<std::size_t>(file.columns);
             ++run)
            done = done && collected[run];
        if (done || final) write_computed(file, pool, collected);
    }
}

std::vector<Batch_report> Folder_batch::take_reports()
{
    std::vector<Batch_report> taken;
    taken.swap(reports_);
    return taken;
}

}  // namespace vantel::cli
