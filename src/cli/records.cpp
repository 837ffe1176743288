#include "cli/records.h"

#include <cstdio>

#include "model/initial_texts.h"

namespace vantel::cli {

const char* const Csv_header =
    "file,file_sha256,value,correct_count,n,column,method,epochs,seconds,w2_sha256,relative_change,problem,"
    "version";

namespace {

std::string seconds_text(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string json_text_or_null(const std::string& text)
{
    return text.empty() ? "null" : json_string(text);
}

std::string csv_line(const Run_record& r)
{
    const Run_record& v = r;
    std::string line;
    for (const std::string& field :
         {csv_field(r.file), r.file_sha256, csv_field(v.value_text), std::to_string(v.correct_count),
          std::to_string(v.n), std::to_string(v.column), std::to_string(v.method), std::to_string(v.epochs),
          seconds_text(v.seconds), v.w2_sha256, csv_field(r.relative_change), csv_field(v.problem),
          std::string(Program_version)})
        line += (line.empty() ? "" : ",") + field;
    return line;
}

std::string json_object(const Run_record& r)
{
    const Run_record& v = r;
    // Value, count, N, column, method and epochs come in the order that
    // earlier versions wrote them in, for scripts that read them as text.
    return "{\"file\": " + json_string(r.file) + ", \"file_sha256\": " + json_string(r.file_sha256) +
           ", \"value\": " + json_text_or_null(v.value_text) +
           ", \"correct_count\": " + std::to_string(v.correct_count) + ", \"n\": " + std::to_string(v.n) +
           ", \"column\": " + std::to_string(v.column) + ", \"method\": " + std::to_string(v.method) +
           ", \"epochs\": " + std::to_string(v.epochs) + ", \"seconds\": " + seconds_text(v.seconds) +
           ", \"w2_sha256\": " + json_string(v.w2_sha256) +
           ", \"relative_change\": " + json_text_or_null(r.relative_change) +
           ", \"problem\": " + json_text_or_null(v.problem) +
           ", \"version\": " + json_string(std::string(Program_version)) + "}";
}

}  // namespace

std::string csv_field(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string json_string(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string format_records(const std::vector<Run_record>& records, Format format, bool single_value)
{
    std::string out;
    switch (format) {
    case Format::text:
        if (single_value) {
            for (const Run_record& r : records)
                if (!r.value_text.empty()) out += r.value_text + "\n";
            return out;
        }
        out = "file\tcolumn\tmethod\tepochs\tvalue\trelative_change\n";
        for (const Run_record& r : records)
            out += r.file + "\t" + std::to_string(r.column) + "\t" + std::to_string(r.method) + "\t" +
                   std::to_string(r.epochs) + "\t" + r.value_text + "\t" + r.relative_change + "\n";
        return out;
    case Format::csv:
        out = std::string(Csv_header) + "\n";
        for (const Run_record& r : records) out += csv_line(r) + "\n";
        return out;
    case Format::json:
        out = "[";
        for (std::size_t i = 0; i < records.size(); ++i) out += (i ? ",\n " : "\n ") + json_object(records[i]);
        return out + (records.empty() ? "]\n" : "\n]\n");
    }
    return out;
}

}  // namespace vantel::cli
