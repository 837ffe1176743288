// A data file as the Python module hands it over: every line of every
// column, read with the readers of the window and the command, and what
// those readers read as 0 or guessed, said in warnings. A column with a
// field beyond the double range is all NaN, and said in a warning too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantel::python {

struct Data_columns {
    std::size_t rows = 0;               // the file's lines
    std::int32_t columns = 0;           // counted on the first line, as the window counts them
    std::vector<double> values;         // rows x columns, row by row
    std::vector<std::string> warnings;  // on the file's layout, then on each column's fields
};

// Throws Vantel_error naming the file when it cannot be read or is not
// plain text.
Data_columns read_data_columns(const std::string& path);

}  // namespace vantel::python
