#include "app/handlers.h"

#include "app/clipboard_actions.h"
#include "app/startup.h"
#include "batch/batch_handlers.h"
#include "engine/engine_handlers.h"
#include "series/data_file_actions.h"

namespace vantel {

void install_handlers(Session& session)
{
    install_series_handlers(session);
    install_engine_handlers(session);
    install_batch_handlers(session);
    install_clipboard_handlers(session);
    session.on(Control::Timer1, [&session] { Timer1Timer(session); });
}

}  // namespace vantel
