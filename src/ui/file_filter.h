// The file dialog's filter, written in the classic form "Data(*.txt)|*.txt"
// (pairs of description and pattern list, separated by '|', patterns
// separated by ';'), translated to Qt's form "Data(*.txt) (*.txt)" with
// ";;" between filters.
#pragma once

#include <QString>
#include <string_view>

namespace vantel::ui {

QString qt_file_filter(std::string_view classic);

}  // namespace vantel::ui
