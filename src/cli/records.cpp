#include "cli/records.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <type_traits>

#include "base/version.h"

namespace vantel::cli {

namespace {

std::string seconds_text(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

// A number as a record field writes it; `otherwise` for a text that is none.
int field_number(const std::string& text, int otherwise)
{
    try {
        return std::stoi(text);
    } catch (const std::exception&) {
        return otherwise;
    }
}

// The getters and setters of the rows, by the member they read and write.
template <auto member>
Field_texts text_of(const Run_record& r)
{
    return {r.*member};
}

// Empty is no value.
template <auto member>
Field_texts text_if_any(const Run_record& r)
{
    return (r.*member).empty() ? Field_texts{} : Field_texts{r.*member};
}

template <auto member>
void set_text(Run_record& r, const Field_texts& texts)
{
    r.*member = texts.empty() ? std::string() : texts.front();
}

template <auto member>
Field_texts number_of(const Run_record& r)
{
    return {std::to_string(r.*member)};
}

template <auto member>
void set_number(Run_record& r, const Field_texts& texts)
{
    if (!texts.empty()) r.*member = field_number(texts.front(), r.*member);
}

// Only a run with a value has a count and a W2.
template <auto member>
Field_texts of_valued(const Run_record& r)
{
    if (r.value_text.empty()) return {};
    if constexpr (std::is_same_v<decltype(r.*member), const std::string&>)
        return {r.*member};
    else
        return {std::to_string(r.*member)};
}

// The record contract in its order, as the README documents it; a new
// field is appended here and nowhere else.
const Record_field Fields[] = {
    {"file", Field_type::text, text_of<&Run_record::file>, set_text<&Run_record::file>},
    {"file_sha256", Field_type::text, text_of<&Run_record::file_sha256>, set_text<&Run_record::file_sha256>},
    {"value", Field_type::number, text_if_any<&Run_record::value_text>, set_text<&Run_record::value_text>},
    {"correct_count", Field_type::number, of_valued<&Run_record::correct_count>,
     set_number<&Run_record::correct_count>},
    {"n", Field_type::number, number_of<&Run_record::n>, set_number<&Run_record::n>},
    {"column", Field_type::number, number_of<&Run_record::column>, set_number<&Run_record::column>},
    {"method", Field_type::number, number_of<&Run_record::method>, set_number<&Run_record::method>},
    {"epochs", Field_type::number, number_of<&Run_record::epochs>, set_number<&Run_record::epochs>},
    {"seconds", Field_type::number, [](const Run_record& r) { return Field_texts{seconds_text(r.seconds)}; },
     [](Run_record& r, const Field_texts& t) { r.seconds = t.empty() ? 0 : std::strtod(t.front().c_str(), nullptr); }},
    {"w2_sha256", Field_type::text, of_valued<&Run_record::w2_sha256>, set_text<&Run_record::w2_sha256>},
    {"relative_change", Field_type::number, text_if_any<&Run_record::relative_change>,
     set_text<&Run_record::relative_change>},
    {"problem", Field_type::text, text_if_any<&Run_record::problem>, set_text<&Run_record::problem>},
    {"version", Field_type::text, [](const Run_record&) { return Field_texts{std::string(Program_version)}; },
     [](Run_record&, const Field_texts&) {}},
    {"value_text", Field_type::text, text_if_any<&Run_record::value_text>, set_text<&Run_record::value_text>},
    {"warnings", Field_type::text_list, [](const Run_record& r) { return r.warnings; },
     [](Run_record& r, const Field_texts& t) { r.warnings = t; }},
    {"start", Field_type::number, number_of<&Run_record::start>, set_number<&Run_record::start>},
    {"window", Field_type::number,
     [](const Run_record& r) { return r.window > 0 ? Field_texts{std::to_string(r.window)} : Field_texts{}; },
     set_number<&Run_record::window>},
    {"rescale", Field_type::text, [](const Run_record& r) { return Field_texts{std::string(rescale_name(r.rescale))}; },
     [](Run_record& r, const Field_texts& t) {
         if (!t.empty()) parse_rescale(t.front(), r.rescale);
     }},
    {"datasets_sha256", Field_type::text, text_of<&Run_record::datasets_sha256>,
     set_text<&Run_record::datasets_sha256>},
    {"scale", Field_type::number, number_of<&Run_record::scale>, set_number<&Run_record::scale>},
    {"surrogates", Field_type::number,
     [](const Run_record& r) { return Field_texts{std::to_string(r.surrogates.count)}; },
     [](Run_record& r, const Field_texts& t) {
         if (!t.empty()) r.surrogates.count = field_number(t.front(), 0);
     }},
    {"surrogate_kind", Field_type::text,
     [](const Run_record& r) { return Field_texts{std::string(surrogate_kind_name(r.surrogates.kind))}; },
     [](Run_record& r, const Field_texts& t) {
         if (!t.empty()) parse_surrogate_kind(t.front(), r.surrogates.kind);
     }},
    {"seed", Field_type::number,
     [](const Run_record& r) { return Field_texts{std::to_string(r.surrogates.seed)}; },
     [](Run_record& r, const Field_texts& t) {
         if (!t.empty()) r.surrogates.seed = std::strtoull(t.front().c_str(), nullptr, 10);
     }},
    {"surrogate_values", Field_type::number_list, [](const Run_record& r) { return r.surrogate_values; },
     [](Run_record& r, const Field_texts& t) { r.surrogate_values = t; }},
    {"surrogate_mean", Field_type::number, text_if_any<&Run_record::surrogate_mean>,
     set_text<&Run_record::surrogate_mean>},
    {"surrogate_sd", Field_type::number, text_if_any<&Run_record::surrogate_sd>, set_text<&Run_record::surrogate_sd>},
    {"z_score", Field_type::number, text_if_any<&Run_record::z_score>, set_text<&Run_record::z_score>},
    {"p_value", Field_type::number, text_if_any<&Run_record::p_value>, set_text<&Run_record::p_value>},
};

std::string json_field(const Record_field& field, const Field_texts& texts)
{
    switch (field.type) {
    case Field_type::text: return texts.empty() ? "null" : json_string(texts.front());
    case Field_type::number: return texts.empty() || texts.front() == "n/a" ? "null" : texts.front();
    case Field_type::text_list: {
        std::string items = "[";
        for (std::size_t i = 0; i < texts.size(); ++i) items += (i ? ", " : "") + json_string(texts[i]);
        return items + "]";
    }
    case Field_type::number_list: return "[" + joined(texts, ", ") + "]";
    }
    return "null";
}

// The length of the UTF-8 character that starts at text[at] (a byte of
// 0x80 or more), 0 when the bytes there are not one: a stray continuation
// byte, a character cut short, an overlong form, a surrogate or a code
// point beyond U+10FFFF.
std::size_t utf8_length(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned lead = byte(0);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4                                ? 4
                                                                                             : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    // The second byte's range that excludes overlong forms, surrogates and
    // code points beyond U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) || (lead == 0xF0 && byte(1) < 0x90) ||
        (lead == 0xF4 && byte(1) > 0x8F))
        return 0;
    return length;
}

// A field of the text table: its tabs, line breaks and backslashes escaped.
std::string table_cell(const std::string& text)
{
    std::string cell;
    for (const char c : text) {
        switch (c) {
        case '\t': cell += "\\t"; break;
        case '\n': cell += "\\n"; break;
        case '\r': cell += "\\r"; break;
        case '\\': cell += "\\\\"; break;
        default: cell += c;
        }
    }
    return cell;
}

}  // namespace

std::span<const Record_field> record_fields()
{
    return Fields;
}

std::string run_key(const Run_identity& run)
{
    std::string key = json_string(run.file) + "|" + run.file_sha256 + "|" + std::to_string(run.column) + "|" +
                      std::to_string(run.method) + "|" + std::to_string(run.epochs) + "|" + std::to_string(run.n) +
                      "|" + std::to_string(run.start) + "|" + (run.window > 0 ? std::to_string(run.window) : "") +
                      "|" + std::string(rescale_name(run.rescale)) + "|" + std::to_string(run.scale);
    if (run.surrogates.count > 0)
        key += "|" + std::to_string(run.surrogates.count) + " " +
               std::string(surrogate_kind_name(run.surrogates.kind)) + " " + std::to_string(run.surrogates.seed);
    return key;
}

std::string run_key(const Run_record& r)
{
    return run_key(Run_identity{.file = r.file, .file_sha256 = r.file_sha256, .column = r.column, .method = r.method,
                    .epochs = r.epochs, .n = r.n, .start = r.start, .window = r.window, .rescale = r.rescale,
                    .scale = r.scale, .surrogates = r.surrogates});
}

std::string csv_header()
{
    std::string header;
    for (const Record_field& field : Fields) header += (header.empty() ? "" : ",") + std::string(field.name);
    return header;
}

std::string csv_line(const Run_record& r)
{
    std::string line;
    for (const Record_field& field : Fields)
        line += (&field == Fields ? "" : ",") + csv_field(joined(field.get(r), "; "));
    return line;
}

std::string json_object(const Run_record& r)
{
    std::string object;
    for (const Record_field& field : Fields)
        object += (&field == Fields ? "{\"" : ", \"") + std::string(field.name) + "\": " + json_field(field, field.get(r));
    return object + "}";
}

Field_texts split_list(const std::string& text)
{
    Field_texts items;
    if (text.empty()) return items;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("; ", from)) != std::string::npos; from = at + 2)
        items.push_back(text.substr(from, at - from));
    items.push_back(text.substr(from));
    return items;
}

std::string text_table(const std::vector<Run_record>& records, bool single_value, bool with_start)
{
    bool scales = false;
    bool surrogates = false;
    for (const Run_record& r : records) {
        scales = scales || r.scale != 1;
        surrogates = surrogates || r.surrogates.count > 0;
    }
    std::string out;
    // A value with surrogates is read with their numbers: the table holds them.
    if (single_value && !surrogates) {
        for (const Run_record& r : records)
            if (!r.value_text.empty()) out += r.value_text + "\n";
        return out;
    }
    out = std::string("file\tcolumn\t") + (with_start ? "start\t" : "") + (scales ? "scale\t" : "") +
          "method\tepochs\tvalue\trelative_change" +
          (surrogates ? "\tsurrogates\tsurrogate_mean\tsurrogate_sd\tz_score\tp_value" : "") + "\n";
    for (const Run_record& r : records) {
        out += table_cell(r.file) + "\t" + std::to_string(r.column) + "\t" +
               (with_start ? std::to_string(r.start) + "\t" : "") + (scales ? std::to_string(r.scale) + "\t" : "") +
               std::to_string(r.method) + "\t" + std::to_string(r.epochs) + "\t" + r.value_text + "\t" +
               r.relative_change;
        if (surrogates)
            out += "\t" + std::to_string(r.surrogates.count) + " " +
                   std::string(surrogate_kind_name(r.surrogates.kind)) + "\t" + r.surrogate_mean + "\t" +
                   r.surrogate_sd + "\t" + r.z_score + "\t" + r.p_value;
        out += "\n";
    }
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = utf8_length(text, i);
            if (length == 0) {
                quoted += "\xEF\xBF\xBD";  // U+FFFD
            } else {
                quoted.append(text, i, length);
                i += length - 1;
            }
        } else if (c == '"' || c == '\\') {
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
