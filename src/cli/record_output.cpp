#include "cli/record_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <algorithm>

#include <unistd.h>

#include "base/text_file.h"
#include "batch/result_files.h"

namespace vantel::cli {

namespace {

// Records of earlier runs: a file of gigabytes would not be records.
constexpr std::size_t Max_resume_bytes = std::size_t{1} << 30;

std::string read_whole(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT) return {};  // nothing to resume yet
        throw Vantel_error("cannot resume " + path + ": " + std::strerror(errno));
    }
    std::string text;
    char piece[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0) {
        text.append(piece, got);
        if (text.size() > Max_resume_bytes) {
            std::fclose(file);
            throw Vantel_error("cannot resume " + path + ": it is larger than 1 GiB");
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw Vantel_error("cannot resume " + path + ": it cannot be read");
    return text;
}

// A JSON value written back as JSON (numbers as they were written).
std::string json_text(const Json_value& value)
{
    switch (value.kind) {
    case Json_value::Kind::null: return "null";
    case Json_value::Kind::boolean:
    case Json_value::Kind::number: return value.text;
    case Json_value::Kind::string: return json_string(value.text);
    case Json_value::Kind::array: {
        std::string out = "[";
        for (std::size_t i = 0; i < value.items.size(); ++i) out += (i ? ", " : "") + json_text(value.items[i]);
        return out + "]";
    }
    case Json_value::Kind::object: {
        std::string out = "{";
        for (std::size_t i = 0; i < value.members.size(); ++i)
            out += (i ? ", " : "") + json_string(value.members[i].first) + ": " + json_text(value.members[i].second);
        return out + "}";
    }
    }
    return "null";
}

int field_number(const std::string& text, int otherwise)
{
    if (text.empty()) return otherwise;
    try {
        return std::stoi(text);
    } catch (const std::exception&) {
        return otherwise;
    }
}

}  // namespace

std::vector<std::vector<std::string>> csv_rows(const std::string& text, std::size_t& complete)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    complete = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r') field.pop_back();
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            complete = i + 1;
        } else {
            field += c;
        }
    }
    return rows;
}

Record_output::Record_output(Format format, const std::string& path, bool resume) : format_(format), path_(path)
{
    std::size_t kept = 0;
    if (resume) {
        if (format == Format::text) throw Vantel_error("--resume takes csv, jsonl or json records, not text");
        const std::string text = read_whole(path);
        kept = format == Format::csv    ? resume_csv(text)
               : format == Format::jsonl ? resume_json_lines(text)
                                         : resume_json(text);
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

void Record_output::take_key(const Json_value& record)
{
    const auto text = [&record](const char* name) {
        const Json_value* value = record.member(name);
        return value && value->kind != Json_value::Kind::null ? value->text : std::string();
    };
    Rescale rescale = Rescale::none;
    parse_rescale(text("rescale").empty() ? "none" : text("rescale"), rescale);
    done_.insert(run_key(text("file_sha256"), field_number(text("column"), 0), field_number(text("method"), 0),
                         field_number(text("epochs"), 0), field_number(text("n"), 0), field_number(text("start"), 1),
                         field_number(text("window"), 0), rescale));
}

std::size_t Record_output::resume_csv(const std::string& text)
{
    if (text.empty()) return 0;
    std::size_t complete = 0;
    const auto rows = csv_rows(text, complete);
    if (rows.empty() || rows.front().size() == 0)
        throw Vantel_error("cannot resume " + path_ + ": it holds no CSV header line");
    std::string header;
    for (const std::string& name : rows.front()) header += (header.empty() ? "" : ",") + name;
    if (header != csv_header())
        throw Vantel_error("cannot resume " + path_ + ": its header is not the one this version writes (" +
                           csv_header() + ")");
    const std::vector<std::string>& names = rows.front();
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r].size() != names.size())
            throw Vantel_error("cannot resume " + path_ + ": record " + std::to_string(r) + " has " +
                               std::to_string(rows[r].size()) + " fields, " + std::to_string(names.size()) +
                               " expected");
        Json_value record;
        record.kind = Json_value::Kind::object;
        for (std::size_t f = 0; f < names.size(); ++f) {
            Json_value field;
            field.kind = rows[r][f].empty() ? Json_value::Kind::null : Json_value::Kind::string;
            field.text = rows[r][f];
            record.members.emplace_back(names[f], std::move(field));
        }
        take_key(record);
    }
    // What follows the last complete line was cut by the end of a job.
    return complete;
}

std::size_t Record_output::resume_json_lines(const std::string& text)
{
    std::size_t from = 0;
    std::size_t line = 1;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        // A last line without its line break was cut by the end of a job.
        if (end == std::string::npos) return from;
        const auto record = read_json(std::string_view(text).substr(from, end - from));
        if (!record || record->kind != Json_value::Kind::object)
            throw Vantel_error("cannot resume " + path_ + ": line " + std::to_string(line) + " is not a JSON record");
        take_key(*record);
        from = end + 1;
        ++line;
    }
    return from;
}

std::size_t Record_output::resume_json(const std::string& text)
{
    if (text.empty()) return 0;
    const auto document = read_json(text);
    if (!document || document->kind != Json_value::Kind::array)
        throw Vantel_error("cannot resume " + path_ + ": it is not a JSON array of records");
    for (const Json_value& record : document->items) {
        if (record.kind != Json_value::Kind::object)
            throw Vantel_error("cannot resume " + path_ + ": an item of its array is not a record");
        take_key(record);
        resumed_json_.push_back(json_text(record));
    }
    return text.size();
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
