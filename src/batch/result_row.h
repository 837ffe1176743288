// START's result row, which the window's result list, the run log and the
// command's records all carry.
#pragma once

#include <string>
#include <string_view>

namespace vantel {

// The texts of Edit_column, Edit_Vantel, Edit_epoch, Edit_N and
// Label_file_name, joined by tabs, the order Label7 names them.
std::string result_row(std::string_view column, std::string_view value, std::string_view epochs, std::string_view n,
                       std::string_view file_label);

}  // namespace vantel
