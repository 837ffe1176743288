#include "model/step_handlers.h"

namespace vantel {

void install_step_handlers(Session& session)
{
    auto& s = session;
    s.on(Control::Button_start, [&s] { Button_startClick(s); });
    s.on(Control::Button_Step_1, [&s] { Button_Step_1Click(s); });
    s.on(Control::Button_Step_2, [&s] { Button_Step_2Click(s); });
    s.on(Control::Button_Step_3, [&s] { Button_Step_3Click(s); });
    s.on(Control::Button_Step_4, [&s] { Button_Step_4Click(s); });
    s.on(Control::Button_Step_5, [&s] { Button_Step_5Click(s); });
    s.on(Control::Button_Step_6, [&s] { Button_Step_6Click(s); });
    s.on(Control::Button_Step_7, [&s] { Button_Step_7Click(s); });
    s.on(Control::Button_Step_8, [&s] { Button_Step_8Click(s); });
    s.on(Control::Button_Step_9, [&s] { Button_Step_9Click(s); });
    s.on(Stop_batch_button, [&s] { Button10Click(s); });
    s.on(Stop_run_button, [&s] { Button11Click(s); });
}

Engine_workspace& engine_workspace(Session& session)
{
    if (!session.engine_workspace) session.engine_workspace = std::make_shared<Engine_workspace>();
    return *session.engine_workspace;
}

}  // namespace vantel
