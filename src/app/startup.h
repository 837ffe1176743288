// Start-up: FormCreate reads "init.txt" into the Init tab and prepares the
// window; Timer1Timer starts the all-files batch once.
#pragma once

#include "model/session.h"

namespace vantel {

void FormCreate(Session& session);
void Timer1Timer(Session& session);

}  // namespace vantel
