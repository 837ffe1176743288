// "START of all columns" and "Open All Files".
#pragma once

#include "model/session.h"

namespace vantel {

// Every column of the loaded data file, computed twice (epochs of init lines
// 0 and 1); one line per column in Memo4; then the run log and the batch
// result file.
void Button_start_allClick(Session& session);

// Every data file listed in Memo5, loaded and computed by the all-columns
// batch; then the main window is closed.
void Open_ALL_file_buttonClick(Session& session);

void install_batch_handlers(Session& session);

}  // namespace vantel
