#include "python/data_columns.h"

#include <limits>

#include "base/error.h"
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
    const auto columns = static_cast<std::size_t>(out.columns);
    for (std::int32_t c = 1; c <= out.columns; ++c) {
        const auto at = static_cast<std::size_t>(c - 1);
        try {
            const Column_read read = read_column(table, c, 1, out.rows);
            for (std::string& warning : column_warnings(table, read)) out.warnings.push_back(std::move(warning));
            if (auto problem = column_problem(table, read)) out.warnings.push_back(std::move(*problem));
            for (std::size_t r = 0; r < out.rows; ++r) out.values[r * columns + at] = read.values[r];
        } catch (const Vantel_error& error) {
            // A field beyond the double range spoils its own column only:
            // its values are NaN, which no computation takes as a series.
            out.warnings.push_back(error.what());
            for (std::size_t r = 0; r < out.rows; ++r)
                out.values[r * columns + at] = std::numeric_limits<double>::quiet_NaN();
        }
    }
    return out;
}

}  // namespace vantel::python
