#include "series/column_extraction.h"

#include "engine/engine_state.h"
#include "engine/vantel.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel {

std::int32_t corrected_n(std::int32_t typed, std::size_t line_count)
{
    std::int64_t n = typed;
    if (n > static_cast<std::int64_t>(line_count)) n = static_cast<std::int64_t>(line_count);
    if (n > Max_N) n = Max_N;
    if (n < Min_series_length) n = Min_series_length;
    return static_cast<std::int32_t>(n);
}

std::int32_t corrected_column(std::int32_t typed, std::int32_t column_count)
{
    std::int32_t column = typed;
    if (column > column_count) column = column_count;
    if (column < 1) column = 1;
    return column;
}

double column_value(std::string_view line, std::int32_t column)
{
    return parse_number(field_text(line, column));
}

}  // namespace vantel
