// Step 5: each reservoir neuron's range and mean over the training images.
#pragma once

#include "model/session.h"

namespace vantel {

void Button_Step_5Click(Session& session);

}  // namespace vantel
