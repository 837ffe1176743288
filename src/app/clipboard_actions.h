// The three clipboard buttons: the series preview, the result rows, the value.
#pragma once

#include "model/session.h"

namespace vantel {

void Button_copy_xnClick(Session& session);
void Button_copy_resultClick(Session& session);
void Button8Click(Session& session);
void install_clipboard_handlers(Session& session);

}  // namespace vantel
