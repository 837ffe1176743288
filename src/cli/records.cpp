#include "cli/records.h"

#include <cstdio>

#include "base/version.h"

namespace vantel::cli {

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

// A value text ("0.8765", "-0.1250") is already a JSON number; "n/a" and an
// empty text are null.
std::string json_number_or_null(const std::string& text)
{
    if (text.empty() || text == "n/a") return "null";
    return text;
}

std::string joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

std::string window_text(const Run_record& r)
{
    return r.window > 0 ? std::to_string(r.window) : std::string();
}

}  // namespace

std::string run_key(const std::string& file_sha256, int column, int method, int epochs, int n, int start, int window,
                    Rescale rescale)
{
    return file_sha256 + "|" + std::to_string(column) + "|" + std::to_string(method) + "|" + std::to_string(epochs) +
           "|" + std::to_string(n) + "|" + std::to_string(start) + "|" + (window > 0 ? std::to_string(window) : "") +
           "|" + std::string(rescale_name(rescale));
}

std::string run_key(const Run_record& r)
{
    return run_key(r.file_sha256, r.column, r.method, r.epochs, r.n, r.start, r.window, r.rescale);
}

std::string csv_header()
{
    return "file,file_sha256,value,correct_count,n,column,method,epochs,seconds,w2_sha256,relative_change,problem,"
           "version,value_text,warnings,start,window,rescale";
}

std::string csv_line(const Run_record& r)
{
    const bool valued = !r.value_text.empty();
    std::string line;
    for (const std::string& field :
         {csv_field(r.file), r.file_sha256, r.value_text, valued ? std::to_string(r.correct_count) : std::string(),
          std::to_string(r.n), std::to_string(r.column), std::to_string(r.method), std::to_string(r.epochs),
          seconds_text(r.seconds), valued ? r.w2_sha256 : std::string(), csv_field(r.relative_change),
          csv_field(r.problem), std::string(Program_version), r.value_text, csv_field(joined(r.warnings, "; ")),
          std::to_string(r.start), window_text(r), std::string(rescale_name(r.rescale))})
        line += (line.empty() ? "" : ",") + field;
    return line;
}

std::string json_object(const Run_record& r)
{
    const bool valued = !r.value_text.empty();
    std::string warnings = "[";
    for (std::size_t i = 0; i < r.warnings.size(); ++i) warnings += (i ? ", " : "") + json_string(r.warnings[i]);
    warnings += "]";
    return "{\"file\": " + json_string(r.file) + ", \"file_sha256\": " + json_string(r.file_sha256) +
           ", \"value\": " + json_number_or_null(r.value_text) +
           ", \"correct_count\": " + (valued ? std::to_string(r.correct_count) : "null") +
           ", \"n\": " + std::to_string(r.n) + ", \"column\": " + std::to_string(r.column) +
           ", \"method\": " + std::to_string(r.method) + ", \"epochs\": " + std::to_string(r.epochs) +
           ", \"seconds\": " + seconds_text(r.seconds) +
           ", \"w2_sha256\": " + (valued ? json_string(r.w2_sha256) : "null") +
           ", \"relative_change\": " + json_number_or_null(r.relative_change) +
           ", \"problem\": " + json_text_or_null(r.problem) +
           ", \"version\": " + json_string(std::string(Program_version)) +
           ", \"value_text\": " + json_text_or_null(r.value_text) + ", \"warnings\": " + warnings +
           ", \"start\": " + std::to_string(r.start) +
           ", \"window\": " + (r.window > 0 ? std::to_string(r.window) : "null") +
           ", \"rescale\": " + json_string(std::string(rescale_name(r.rescale))) + "}";
}

std::string text_table(const std::vector<Run_record>& records, bool single_value, bool with_start)
{
    std::string out;
    if (single_value) {
        for (const Run_record& r : records)
            if (!r.value_text.empty()) out += r.value_text + "\n";
        return out;
    }
    out = std::string("file\tcolumn\t") + (with_start ? "start\t" : "") + "method\tepochs\tvalue\trelative_change\n";
    for (const Run_record& r : records)
        out += r.file + "\t" + std::to_string(r.column) + "\t" + (with_start ? std::to_string(r.start) + "\t" : "") +
               std::to_string(r.method) + "\t" + std::to_string(r.epochs) + "\t" + r.value_text + "\t" +
               r.relative_change + "\n";
    return out;
}

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

}  // namespace vantel::cli
