#include "cli/folder_batch.h"

#include <algorithm>
#include <exception>

#include "base/program_folder.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "batch/batch_rules.h"
#include "batch/result_files.h"
#include "series/data_file.h"
#include "engine/vantel.h"
#include "series/series_reader.h"
#include "series/text_readers.h"

namespace vantel::cli {

namespace {

constexpr char Decimal_separator = '.';

std::string line_of(const std::vector<std::string>& lines, std::size_t i)
{
    return i < lines.size() ? lines[i] : std::string();
}

// Step 6 turns any text into an epoch count of at least 1.
int epochs_of(const std::string& text)
{
    return std::max(1, static_cast<int>(read_integer(text)));
}

}  // namespace

Folder_batch::Folder_batch(const Batch_settings& settings) : settings_(settings)
{
    // Every column of a file, twice: with the epoch counts of init lines 1
    // and 2, the method of line 4 (5 unless it names another) and N of line 5.
    runs_.all_columns = true;
    runs_.n = remove_every(line_of(settings_.init_lines, 4), "N=");
    const std::string method_line = line_of(settings_.init_lines, 3);
    runs_.methods = {5};
    for (int k = 1; k <= 6; ++k)
        if (method_line == "METHOD=" + std::to_string(k)) runs_.methods = {k};
    runs_.epochs = {epochs_of(line_of(settings_.init_lines, 0)), epochs_of(line_of(settings_.init_lines, 1))};
    for (const std::string& name : data_file_names(settings_.data_dir)) plan(name);
}

void Folder_batch::problem(const File& file, std::string_view text)
{
    reports_.push_back({true, file.path + ": " + std::string(text)});
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
    File& file = files_.emplace_back();
    file.name = name;
    file.path = settings_.data_dir + name;

    Data_table table;
    try {
        table = read_data_table(file.path);
    } catch (const std::exception& error) {
        file.skipped = error.what();
        return;
    }
    const std::vector<std::string>& lines = table.lines;
    const Batch_file_plan plan = plan_batch_file(lines);
    file.placeholder = plan.placeholder;
    if (lines.empty()) {
        file.skipped = "the file is empty";
    } else if (plan.not_correct || plan.refused || plan.runs_refused) {
        // The window's batch says "File is not correct", "File not correct"
        // or "Please load data!" and writes a result line of blanks: here
        // the file is passed over, saying why.
        file.skipped = "it has " + std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
                       "; a series needs at least " + std::to_string(Min_series_length);
    } else if (plan.computed) {
        const std::size_t index = data_files_.size();
        data_files_.push_back(describe_file(file.path, table));
        file.columns = std::max(1, static_cast<int>(data_files_.back().columns));
        file.first_job = jobs_.jobs().size();
        jobs_.add_file(index, data_files_.back(), runs_);
    }
}

void Folder_batch::write_computed(File& file, const std::vector<const std::vector<Run_record>*>& records)
{
    // The all-columns batch's loop over the results: a column whose run
    // failed or published nothing is the last, and both files are written
    // with what came before it.
    std::vector<std::string> rows;
    std::vector<std::string> lines;
    for (int c = 1; c <= file.columns; ++c) {
        const std::vector<Run_record>* column = records[file.first_job + static_cast<std::size_t>(c - 1)];
        // A column whose job a stop cut short or never started is not there.
        if (!column || (*column)[0].stopped || (*column)[1].stopped) break;
        const Run_record& first = (*column)[0];
        const Run_record& second = (*column)[1];
        if (!first.problem.empty()) {
            problem(file, first.problem);
            break;
        }
        rows.push_back(first.result_row);
        if (!second.problem.empty()) {
            problem(file, second.problem);
            break;
        }
        rows.push_back(second.result_row);
        lines.push_back(batch_result_line(first.value_text, second.value_text, Decimal_separator));
        if (!batch_goes_on(first.value_text, second.value_text, c, file.columns, false)) break;
    }
    // A file without a single finished column leaves no empty result file.
    if (lines.empty()) return;
    save_run_log(rows, file);
    save(batch_result_path(settings_.app_dir, file.name), lines, file);
}

void Folder_batch::write_finished(const std::vector<const std::vector<Run_record>*>& records, bool final)
{
    for (File& file : files_) {
        if (file.written) continue;
        bool done = true;
        for (std::size_t job = file.first_job; job < file.first_job + static_cast<std::size_t>(file.columns); ++job)
            done = done && records[job];
        if (!done && !final) return;  // the files after it wait for it
        file.written = true;
        if (!file.skipped.empty()) problem(file, "skipped (" + file.skipped + ")");
        if (file.placeholder)
            save(batch_result_path(settings_.app_dir, file.name), {std::string(Placeholder_result_line)}, file);
        if (file.columns > 0) write_computed(file, records);
    }
}

std::vector<Batch_report> Folder_batch::take_reports()
{
    std::vector<Batch_report> taken;
    taken.swap(reports_);
    return taken;
}

}  // namespace vantel::cli
