#include "app/handlers.h"

#include "app/clipboard_actions.h"
#include "app/startup.h"
#include "model/batch_handlers.h"
#include "model/series_actions.h"
#include "model/step_handlers.h"

namespace vantel {

void install_handlers(Session& session)
{
    install_series_handlers(session);
    install_step_handlers(session);
    install_batch_handlers(session);
    install_clipboard_handlers(session);
    session.on(Control::Timer1, [&session] { Timer1Timer(session); });
}

}  // namespace vantel
