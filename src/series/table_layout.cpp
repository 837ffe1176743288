// layout_warnings: what the shape of a file's lines says about how it was
// meant to be read, judged on a sample of them.
#include <array>
#include <string>

#include "series/series_reader.h"

namespace vantel {

namespace {

// The lines examined (from 0): the first Layout_head_lines and the last
// Layout_tail_lines. This is a sample: a file of ten million lines is judged
// by 11000 of them, which is enough to see how it was written, and costs
// the same whatever the file's size.
template <class Visit>
void for_each_sampled_line(std::size_t line_count, Visit visit)
{
    const std::size_t head_end = std::min(line_count, Layout_head_lines);
    for (std::size_t i = 0; i < head_end; ++i) visit(i);
    const std::size_t tail_begin = line_count > Layout_tail_lines ? line_count - Layout_tail_lines : 0;
    for (std::size_t i = std::max(head_end, tail_begin); i < line_count; ++i) visit(i);
}

std::size_t sample_size(std::size_t line_count)
{
    return std::min(line_count, Layout_head_lines + Layout_tail_lines);
}

enum class Separator { none, semicolon, comma, blanks };

// Fields between `separator`s; a separator closing the line (as some
// programs write them) opens no further field.
std::vector<std::string_view> split_at(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    const auto last = line.find_last_not_of(' ');
    if (last != std::string_view::npos && line[last] == separator) line = line.substr(0, last);
    std::size_t from = 0;
    for (;;) {
        const auto at = line.find(separator, from);
        fields.push_back(line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return fields;
        from = at + 1;
    }
}

std::vector<std::string_view> split_at_blanks(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t from = line.find_first_not_of(' ');
    while (from != std::string_view::npos) {
        const auto end = line.find(' ', from);
        fields.push_back(line.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
        from = line.find_first_not_of(' ', end);
    }
    return fields;
}

bool several_numbers(const std::vector<std::string_view>& fields)
{
    if (fields.size() < 2) return false;
    for (const std::string_view field : fields)
        if (!is_number_text(field)) return false;
    return true;
}

// The separator that splits a line without tabs into several numbers. ","
// is also a decimal mark here: a line that is one number ("0,5") has no
// separator, "0.5,1.5" has. ";" is tried first, so that "0,5;1,5" is two
// numbers with decimal commas, and "," before blanks, so that "1, 2" is two.
Separator separator_of(std::string_view line)
{
    if (line.find('\t') != std::string_view::npos) return Separator::none;
    if (line.find(';') != std::string_view::npos && several_numbers(split_at(line, ';')))
        return Separator::semicolon;
    if (line.find(',') != std::string_view::npos && !is_number_text(line) &&
        several_numbers(split_at(line, ',')))
        return Separator::comma;
    if (several_numbers(split_at_blanks(line))) return Separator::blanks;
    return Separator::none;
}

std::optional<std::string> separator_warning(std::string_view name, const std::vector<std::string>& lines)
{
    std::array<std::size_t, 4> votes{};
    std::size_t non_empty = 0;
    for_each_sampled_line(lines.size(), [&](std::size_t i) {
        if (lines[i].empty()) return;
        ++non_empty;
        ++votes[static_cast<std::size_t>(separator_of(lines[i]))];
    });
    std::size_t best = static_cast<std::size_t>(Separator::semicolon);
    for (std::size_t s = best + 1; s < votes.size(); ++s)
        if (votes[s] > votes[best]) best = s;
    if (votes[best] * 2 <= non_empty) return std::nullopt;
    static const char* const by[] = {"", "\";\"", "\",\"", "blanks"};
    return std::string(name) + " seems to separate its columns by " + by[best] +
           ": columns are separated by tabs, so each line is read as one column";
}

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::optional<std::string> field_count_warning(std::string_view name, const std::vector<std::string>& lines)
{
    if (lines.empty()) return std::nullopt;
    const std::int32_t first = column_count(lines[0]);
    std::size_t fewer = 0, more = 0, first_fewer = 0, first_more = 0;
    for_each_sampled_line(lines.size(), [&](std::size_t i) {
        const std::int32_t fields = column_count(lines[i]);
        if (fields < first && fewer++ == 0) first_fewer = i + 1;
        if (fields > first && more++ == 0) first_more = i + 1;
    });
    if (fewer == 0 && more == 0) return std::nullopt;

    // "12 lines have fewer (first at line 7) and 2 have more (first at line 40)"
    const auto part = [](std::size_t count, bool say_lines, const char* which, std::size_t line) {
        const char* verb = count == 1 ? (say_lines ? "line has " : "has ") : (say_lines ? "lines have " : "have ");
        return std::to_string(count) + " " + verb + which + (count == 1 ? " (at line " : " (first at line ") +
               std::to_string(line) + ")";
    };
    std::string text = std::string(name) + ": the first line has " +
                       counted(static_cast<std::size_t>(first), "field", "fields") + ", ";
    if (fewer != 0) text += part(fewer, true, "fewer", first_fewer);
    if (fewer != 0 && more != 0) text += " and ";
    if (more != 0) text += part(more, fewer == 0, "more", first_more);
    if (sample_size(lines.size()) < lines.size())
        text += "; " + std::to_string(sample_size(lines.size())) + " of its " + std::to_string(lines.size()) +
                " lines were examined";
    return text;
}

}  // namespace

std::vector<std::string> layout_warnings(std::string_view name, const std::vector<std::string>& lines)
{
    std::vector<std::string> warnings;
    if (auto warning = separator_warning(name, lines)) warnings.push_back(std::move(*warning));
    if (auto warning = field_count_warning(name, lines)) warnings.push_back(std::move(*warning));
    return warnings;
}

}  // namespace vantel
