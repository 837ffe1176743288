#include "series/series_reader.h"

#include <algorithm>
#include <stdexcept>

#include "base/error.h"
#include "series/text_readers.h"

namespace vantel {

namespace {

// Refuses a text that the lines do not show for what it is; `shown_name`
// is the file as the message names it.
void refuse_unless_plain(const std::string& shown_name, const Data_text& text)
{
    const std::string file = "File \"" + shown_name + "\"";
    switch (text.kind) {
    case Text_kind::utf16:
        throw Vantel_error(file + " is UTF-16 text; save it as UTF-8 or ASCII");
    case Text_kind::not_text:
        throw Vantel_error(file + " is not a text file");
    case Text_kind::plain:
        break;
    }
    if (text.nul_line != 0)
        throw Vantel_error(file + " holds a NUL byte at line " + std::to_string(text.nul_line) +
                           ": it is not plain text from there on");
}

Data_table table_of(std::string name, std::vector<std::string> lines)
{
    Data_table table;
    table.warnings = layout_warnings(name, lines);
    table.column_count = lines.empty() ? 0 : column_count(lines[0]);
    table.name = std::move(name);
    table.lines = std::move(lines);
    return table;
}

bool is_utf8_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A field as a warning quotes it: at most 40 characters (a UTF-8 sequence
// counts as one), then "..."; control bytes written out, so that a warning
// stays one readable line.
std::string excerpt(std::string_view text)
{
    constexpr std::size_t Max_characters = 40;
    static const char hex[] = "0123456789ABCDEF";
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!is_utf8_continuation(text[i]) && characters++ == Max_characters) return shown + "...";
        if (c == '\t')
            shown += "\\t";
        else if (c < 0x20 || c == 0x7F)
            shown += std::string("\\x") + hex[c >> 4] + hex[c & 0xF];
        else
            shown += static_cast<char>(c);
    }
    return shown;
}

}  // namespace

Data_table read_data_table(const std::string& path)
{
    Data_text text = read_data_text(path);
    refuse_unless_plain(full_path(path), text);
    return table_of(path, std::move(text.lines));
}

Data_table data_table(std::string name, Data_text text)
{
    refuse_unless_plain(name, text);
    return table_of(std::move(name), std::move(text.lines));
}

Data_table data_table(std::string name, std::vector<std::string> lines)
{
    return table_of(std::move(name), std::move(lines));
}

Column_read read_column(const Data_table& table, std::int32_t column, std::size_t first_line, std::size_t count)
{
    const std::size_t line_count = table.lines.size();
    if (column < 1 || first_line < 1 || first_line - 1 > line_count || count > line_count - (first_line - 1))
        throw std::out_of_range("read_column: column " + std::to_string(column) + ", lines " +
                                std::to_string(first_line) + " + " + std::to_string(count) + " of " +
                                std::to_string(line_count));
    Column_read read;
    read.column = column;
    read.first_line = first_line;
    read.values.reserve(count);
    for (std::size_t line_number = first_line; line_number < first_line + count; ++line_number) {
        const std::string& line = table.lines[line_number - 1];
        const std::string_view field = field_text(line, column);
        try {
            read.values.push_back(parse_number(field));
        } catch (const Vantel_error& error) {
            throw Vantel_error(table.name + " line " + std::to_string(line_number) + " column " +
                               std::to_string(column) + ": \"" + excerpt(field) + "\": " + error.what());
        }
        if (column > 1 && !line.empty() &&
            std::count(line.begin(), line.end(), '\t') < static_cast<std::ptrdiff_t>(column) - 1 &&
            read.missing_fields++ == 0)
            read.first_missing_field_line = line_number;
        // An empty line reads as the text "0", which nobody wrote.
        if (line.empty() || !is_number_text(field)) {
            if (read.not_numbers++ == 0) {
                read.first_not_number_line = line_number;
                read.first_not_number_text = line.empty() ? std::string() : std::string(field);
            }
        }
    }
    return read;
}

std::optional<std::string> not_number_warning(const Data_table& table, const Column_read& read)
{
    if (read.not_numbers == 0) return std::nullopt;
    const bool one = read.not_numbers == 1;
    return table.name + " column " + std::to_string(read.column) + ": " + std::to_string(read.not_numbers) +
           " of " + std::to_string(read.values.size()) +
           (one ? " values is not a number (at line " : " values are not numbers (first at line ") +
           std::to_string(read.first_not_number_line) + ": \"" + excerpt(read.first_not_number_text) +
           "\"), read as 0";
}

std::vector<std::string> column_warnings(const Data_table& table, const Column_read& read)
{
    std::vector<std::string> warnings;
    if (auto warning = not_number_warning(table, read)) warnings.push_back(std::move(*warning));
    if (read.missing_fields > 0) {
        const bool one = read.missing_fields == 1;
        warnings.push_back(table.name + " column " + std::to_string(read.column) + ": " +
                           std::to_string(read.missing_fields) + " of " + std::to_string(read.values.size()) +
                           (one ? " lines has no field " : " lines have no field ") + std::to_string(read.column) +
                           (one ? " (at line " : " (first at line ") + std::to_string(read.first_missing_field_line) +
                           "); the whole line was read there");
    }
    return warnings;
}

std::optional<std::string> column_problem(const Data_table& table, const Column_read& read)
{
    if (read.values.empty() || read.not_numbers < read.values.size()) return std::nullopt;
    return table.name + " column " + std::to_string(read.column) + ": none of its " +
           std::to_string(read.values.size()) + " fields is a number; it holds no series";
}

}  // namespace vantel
