// Steps 3 and 4: the network's starting state, and W1 filled from xn.
#pragma once

#include "engine/core/session.h"

namespace vantel {

void Button_Step_3Click(Session& session);
void Button_Step_4Click(Session& session);

}  // namespace vantel
