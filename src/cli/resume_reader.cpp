#include "cli/resume_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/error.h"

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

Field_texts json_texts(const Json_value& value)
{
    switch (value.kind) {
    case Json_value::Kind::null: return {};
    case Json_value::Kind::array: {
        Field_texts items;
        for (const Json_value& item : value.items) items.push_back(item.text);
        return items;
    }
    default: return {value.text};
    }
}

Resumed_records read_csv(const std::string& text, const std::string& path)
{
    Resumed_records read;
    if (text.empty()) return read;
    const auto rows = csv_rows(text, read.complete);
    if (rows.empty() || rows.front().fields.empty())
        throw Vantel_error("cannot resume " + path + ": it holds no CSV header line");
    std::string header;
    for (const std::string& name : rows.front().fields) header += (header.empty() ? "" : ",") + name;
    if (header != csv_header())
        throw Vantel_error("cannot resume " + path + ": its header is not the one this version writes (" +
                           csv_header() + ")");
    const auto fields = record_fields();
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r].fields;
        if (cells.size() != fields.size())
            throw Vantel_error("cannot resume " + path + ": line " + std::to_string(rows[r].line) + " has " +
                               std::to_string(cells.size()) + " fields, " + std::to_string(fields.size()) +
                               " expected");
        Run_record& record = read.records.emplace_back();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const std::string& cell = cells[f];
            const bool list = fields[f].type == Field_type::text_list || fields[f].type == Field_type::number_list;
            const Field_texts texts = list ? split_list(cell) : cell.empty() ? Field_texts{} : Field_texts{cell};
            fields[f].set(record, texts);
        }
    }
    return read;
}

Resumed_records read_json_lines(const std::string& text, const std::string& path)
{
    Resumed_records read;
    std::size_t line = 1;
    while (read.complete < text.size()) {
        const std::size_t end = text.find('\n', read.complete);
        // A last line without its line break was cut by the end of a job.
        if (end == std::string::npos) break;
        const auto record = read_json(std::string_view(text).substr(read.complete, end - read.complete));
        if (!record || record->kind != Json_value::Kind::object)
            throw Vantel_error("cannot resume " + path + ": line " + std::to_string(line) + " is not a JSON record");
        read.records.push_back(record_from_json(*record));
        read.complete = end + 1;
        ++line;
    }
    return read;
}

Resumed_records read_json_array(const std::string& text, const std::string& path)
{
    Resumed_records read;
    if (text.empty()) return read;
    const auto document = read_json(text);
    if (!document || document->kind != Json_value::Kind::array)
        throw Vantel_error("cannot resume " + path + ": it is not a JSON array of records");
    for (const Json_value& record : document->items) {
        if (record.kind != Json_value::Kind::object)
            throw Vantel_error("cannot resume " + path + ": an item of its array is not a record");
        read.records.push_back(record_from_json(record));
        read.json_items.push_back(json_text(record));
    }
    read.complete = text.size();
    return read;
}

}  // namespace

Run_record record_from_json(const Json_value& object)
{
    Run_record record;
    for (const Record_field& field : record_fields())
        if (const Json_value* value = object.member(field.name)) field.set(record, json_texts(*value));
    return record;
}

Resumed_records read_records(Format format, const std::string& text, const std::string& path)
{
    switch (format) {
    case Format::csv: return read_csv(text, path);
    case Format::jsonl: return read_json_lines(text, path);
    case Format::json: return read_json_array(text, path);
    case Format::text: break;
    }
    throw Vantel_error("--resume takes csv, jsonl or json records, not text");
}

Resumed_records read_resumed(Format format, const std::string& path)
{
    // A text output is never read: it holds no records.
    return read_records(format, format == Format::text ? std::string() : read_whole(path), path);
}

std::vector<Csv_row> csv_rows(const std::string& text, std::size_t& complete)
{
    std::vector<Csv_row> rows;
    Csv_row row{.fields = {}, .line = 1};
    std::size_t line = 1;
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
                line += c == '\n';
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r') field.pop_back();
            row.fields.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row = Csv_row{.fields = {}, .line = ++line};
            complete = i + 1;
        } else {
            field += c;
        }
    }
    return rows;
}

}  // namespace vantel::cli
