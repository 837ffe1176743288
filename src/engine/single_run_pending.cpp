// Steps whose work is not built yet: they follow the step protocol only.
#include "engine/core/session.h"
#include "engine/single_run.h"

namespace vantel {

namespace {
void protocol_only(Session& session, Control button)
{
    session.window.set_enabled(button, false);
    session.step_pause();
    session.window.set_enabled(button, true);
}
}  // namespace

void Button_startClick(Session&) {}
void Button_Step_1Click(Session& s) { protocol_only(s, Control::Button_Step_1); }
void Button_Step_6Click(Session& s) { protocol_only(s, Control::Button_Step_6); }
void Button_Step_9Click(Session& s) { protocol_only(s, Control::Button_Step_9); }
void Button10Click(Session&) {}
void Button11Click(Session&) {}

}  // namespace vantel
