// Connects "START of all columns" and "Open All Files".
#pragma once

#include "engine/core/session.h"

namespace vantel {

void install_batch_handlers(Session& session);

}  // namespace vantel
