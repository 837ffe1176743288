// Connects the nine step buttons, START and the two STOP buttons.
#pragma once

#include "model/session.h"

namespace vantel {

void install_engine_handlers(Session& session);

}  // namespace vantel
