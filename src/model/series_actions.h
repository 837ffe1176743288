// "Open file" and "Show": a data file becomes Data_lines, one of
// its columns becomes the series xn[1..N].
#pragma once

#include "model/session.h"
#include "series/data_file.h"

namespace vantel {

// "Open file": chooses a file ("Open TXT file", "Data(*.txt)|*.txt"), reads
// it whole into Data_lines, previews up to 10 lines, counts the columns of
// line 0, sets Edit_N from init line 4 with every "N=" removed, and triggers
// "Show". Cancelling leaves Preview_count 0 (the old lines unusable). An
// error while reading ends the opening with Data_lines empty, Preview_count 0
// and Open_file_button left disabled.
void Open_file_buttonClick(Session& session);

// "Show": corrects N and the column, writes them back, and fills xn[1..N]
// from the chosen column, previewing the first 30 values in Memo_xn. Before
// any file has been opened (no line list yet) it behaves as for a file of no
// lines: N becomes 5 in Edit_N and Label2_N, and nothing else changes.
void Button_column_showClick(Session& session);

void install_series_handlers(Session& session);

// What Label11 shows for a data file: its name without the folder, and,
// when its reading found it is not plain text, a note saying so.
std::string file_label(const std::string& path, const Data_text& text);

}  // namespace vantel
