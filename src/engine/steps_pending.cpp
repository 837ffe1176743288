// Steps whose work is not built yet: they follow the step protocol only.
#include "engine/datasets.h"
#include "engine/normalization.h"
#include "engine/reservoir.h"
#include "engine/single_run.h"
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

void Button_startClick(Session&) {}
void Button_Step_1Click(Session& s) { protocol_only(s, Control::Button_Step_1); }
void Button_Step_2Click(Session& s) { protocol_only(s, Control::Button_Step_2); }
void Button_Step_3Click(Session& s) { protocol_only(s, Control::Button_Step_3); }
void Button_Step_4Click(Session& s) { protocol_only(s, Control::Button_Step_4); }
void Button_Step_5Click(Session& s) { protocol_only(s, Control::Button_Step_5); }
void Button_Step_6Click(Session& s) { protocol_only(s, Control::Button_Step_6); }
void Button_Step_7Click(Session& s) { protocol_only(s, Control::Button_Step_7); }
void Button_Step_8Click(Session& s) { protocol_only(s, Control::Button_Step_8); }
void Button_Step_9Click(Session& s) { protocol_only(s, Control::Button_Step_9); }
void Button10Click(Session&) {}
void Button11Click(Session&) {}

}  // namespace vantel
