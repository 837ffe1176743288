// The handlers of the nine step buttons, START and the two STOP buttons: the
// window's protocol around the engine's kernels (disabling a button, the
// step pause, labels, pumps, messages). The computation itself is the
// engine's (reservoir.h, normalization.h, training.h, datasets.h), the same
// that the computation API runs without a window.
#pragma once

#include <string>
#include <string_view>

#include "batch/result_row.h"
#include "engine/engine_workspace.h"
#include "model/messages.h"
#include "model/session.h"

namespace vantel {

void Button_startClick(Session& session);   // START: the nine steps, then a result row
void Button_Step_1Click(Session& session);  // the series again from the edits (Show)
void Button_Step_2Click(Session& session);  // MNIST-10 and the T-pattern, once per process
void Button_Step_3Click(Session& session);  // the network's starting state
void Button_Step_4Click(Session& session);  // W1 from the series by the selected method
void Button_Step_5Click(Session& session);  // the reservoir neurons' bounds and means
void Button_Step_6Click(Session& session);  // the epochs from Edit_epoch
void Button_Step_7Click(Session& session);  // training
void Button_Step_8Click(Session& session);  // testing
void Button_Step_9Click(Session& session);  // the value into Edit_Vantel
// The two STOP buttons: Button11 under START, Button10 beside "START of all
// columns"; both set Stop_requested and Stop_all_files.
void Button10Click(Session& session);
void Button11Click(Session& session);

void install_step_handlers(Session& session);

// The session's engine caches, made on first use.
Engine_workspace& engine_workspace(Session& session);

// The folder step 2 reads the four MNIST-10 files from, as init line 5 names
// it at this moment; file names are appended to it as they are.
std::string mnist_folder(const Session& session);

}  // namespace vantel
