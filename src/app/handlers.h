// Connects every button of the main window to its handler.
#pragma once

#include "model/session.h"

namespace vantel {

void install_handlers(Session& session);

}  // namespace vantel
