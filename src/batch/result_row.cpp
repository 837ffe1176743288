#include "batch/result_row.h"

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

}  // namespace vantel
