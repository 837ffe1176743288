// Steps whose work is not built yet: they follow the step protocol only.
#include "engine/core/session.h"
#include "engine/reservoir.h"

namespace vantel {

namespace {
void protocol_only(Session& session, Control button)
{
    session.window.set_enabled(button, false);
    session.step_pause();
    session.window.set_enabled(button, true);
}
}  // namespace

void Button_Step_3Click(Session& s) { protocol_only(s, Control::Button_Step_3); }
void Button_Step_4Click(Session& s) { protocol_only(s, Control::Button_Step_4); }

}  // namespace vantel
