// The single run (START) and the steps without a subsystem of their own:
// step 1 (re-extract the series), step 6 (epochs), step 9 (publish), STOP.
#pragma once

#include "model/session.h"

namespace vantel {

void Button_startClick(Session& session);
void Button_Step_1Click(Session& session);
void Button_Step_6Click(Session& session);
void Button_Step_9Click(Session& session);
void Button10Click(Session& session);
void Button11Click(Session& session);

}  // namespace vantel
