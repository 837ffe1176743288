// START's result row, which the window's result list, the run log and the
// command's records all carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// The texts of Edit_column, Edit_Vantel, Edit_epoch, Edit_N and
// Label_file_name, joined by tabs, the order Label7 names them.
std::string result_row(std::string_view column, std::string_view value, std::string_view epochs, std::string_view n,
                       std::string_view file_label);

// The numbers of a result row read back, for drawing the result list.
struct Result_numbers {
    int column = 0;
    double value = 0;
    int epochs = 0;
};

// Nothing when the line is not a result row: the result list is also the
// user's to edit. The value may be written with "." or ",".
std::optional<Result_numbers> read_result_row(std::string_view row);

}  // namespace vantel
