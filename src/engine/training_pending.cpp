// Steps whose work is not built yet: they follow the step protocol only.
#include "engine/core/session.h"
#include "engine/training.h"

namespace vantel {

namespace {
void protocol_only(Session& session, Control button)
{
    session.window.set_enabled(button, false);
    session.step_pause();
    session.window.set_enabled(button, true);
}
}  // namespace

void Button_Step_7Click(Session& s) { protocol_only(s, Control::Button_Step_7); }
void Button_Step_8Click(Session& s) { protocol_only(s, Control::Button_Step_8); }

}  // namespace vantel
