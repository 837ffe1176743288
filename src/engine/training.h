// Steps 7 and 8: training the output layer and testing it.
#pragma once

#include "model/session.h"

namespace vantel {

void Button_Step_7Click(Session& session);
void Button_Step_8Click(Session& session);

}  // namespace vantel
