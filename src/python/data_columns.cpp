#include "python/data_columns.h"

#include "series/series_reader.h"

namespace vantel::python {

Data_columns read_data_columns(const std::string& path)
{
    const Data_table table = read_data_table(path);
    Data_columns out;
    out.rows = table.lines.size();
    out.columns = table.column_count;
    out.warnings = table.warnings;
    out.values.resize(out.rows * static_cast<std::size_t>(out.columns));
    if (out.rows == 0) return out;
    for (std::int32_t c = 1; c <= out.columns; ++c) {
        const Column_read read = read_column(table, c, 1, out.rows);
        if (auto warning = not_number_warning(table, read)) out.warnings.push_back(*warning);
        for (std::size_t r = 0; r < out.rows; ++r)
            out.values[r * static_cast<std::size_t>(out.columns) + static_cast<std::size_t>(c - 1)] = read.values[r];
    }
    return out;
}

}  // namespace vantel::python
