#include "cli/record_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <algorithm>

#include <unistd.h>

#include "base/text_file.h"
#include "batch/result_files.h"
#include "cli/resume_reader.h"

namespace vantel::cli {

Record_output::Record_output(Format format, const std::string& path, bool resume) : format_(format), path_(path)
{
    std::size_t kept = 0;
    if (resume) {
        Resumed_records resumed = read_resumed(format, path);
        // A record without a value (refused, failed, stopped) is no finished
        // run: its run is computed again, and its new record follows it.
        for (const Run_record& record : resumed.records)
            if (!record.value_text.empty()) done_.insert(run_key(record));
        kept = resumed.complete;
        resumed_json_ = std::move(resumed.json_items);
    }
    if (format != Format::csv && format != Format::jsonl) return;
    if (path.empty()) {
        stream_ = stdout;
    } else {
        // A resumed file keeps its complete records; a line cut by the end
        // of an earlier job goes.
        if (resume && kept > 0) {
            std::error_code error;
            std::filesystem::resize_file(path, kept, error);
            if (error) throw Vantel_error("cannot resume " + path + ": " + error.message());
        }
        stream_ = std::fopen(path.c_str(), resume ? "ab" : "wb");
        if (!stream_) throw Vantel_error("cannot write the output to " + path + ": " + std::strerror(errno));
        own_stream_ = true;
    }
    if (format == Format::csv && kept == 0) write_now(csv_header());
}

Record_output::~Record_output()
{
    if (own_stream_) std::fclose(stream_);
}

void Record_output::write_now(const std::string& line)
{
    if (failure_) return;
    const std::string text = line + "\n";
    if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size() || std::fflush(stream_) != 0)
        failure_ = "cannot write the output to " + (path_.empty() ? std::string("standard output") : path_) + ": " +
                   std::strerror(errno);
}

void Record_output::add(const Run_record& record, std::size_t order)
{
    switch (format_) {
    case Format::csv: write_now(csv_line(record)); return;
    case Format::jsonl: write_now(json_object(record)); return;
    case Format::text:
    case Format::json: whole_.emplace_back(order, record); return;
    }
}

std::optional<std::string> Record_output::finish(bool single_value, bool with_start)
{
    if (format_ == Format::csv || format_ == Format::jsonl) return failure_;
    std::sort(whole_.begin(), whole_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text;
    if (format_ == Format::text) {
        std::vector<Run_record> records;
        for (const auto& [order, record] : whole_) records.push_back(record);
        text = text_table(records, single_value, with_start);
    } else {
        std::vector<std::string> items = resumed_json_;
        for (const auto& [order, record] : whole_) items.push_back(json_object(record));
        text = "[";
        for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ",\n " : "\n ") + items[i];
        text += items.empty() ? "]\n" : "\n]\n";
    }
    if (path_.empty()) {
        if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0)
            return "cannot write the output to standard output: " + std::string(std::strerror(errno));
        return std::nullopt;
    }
    return save_text(path_, text);
}

}  // namespace vantel::cli
