#include "batch/result_row.h"

#include <vector>

#include "base/error.h"
#include "series/text_readers.h"

namespace vantel {

std::string result_row(std::string_view column, std::string_view value, std::string_view epochs, std::string_view n,
                       std::string_view file_label)
{
    std::string row(column);
    for (const std::string_view field : {value, epochs, n, file_label}) {
        row += '\t';
        row += field;
    }
    return row;
}

std::optional<Result_numbers> read_result_row(std::string_view row)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = row.find('\t', start);
        fields.push_back(row.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (fields.size() < 4 || fields[1].empty()) return std::nullopt;
    const auto column = read_whole_integer(fields[0]);
    const auto epochs = read_whole_integer(fields[2]);
    if (!column || !epochs) return std::nullopt;
    try {
        return Result_numbers{*column, parse_number(fields[1]), *epochs};
    } catch (const Vantel_error&) {  // a value beyond the double range
        return std::nullopt;
    }
}

}  // namespace vantel
