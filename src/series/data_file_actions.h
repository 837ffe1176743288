// "Open file" and "Show": a data file becomes Data_lines, one of its columns
// becomes the series xn[1..N].
#pragma once

#include "engine/core/session.h"

namespace vantel {

void Open_file_buttonClick(Session& session);
void Button_column_showClick(Session& session);
void install_series_handlers(Session& session);

}  // namespace vantel
