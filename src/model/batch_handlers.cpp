#include "model/batch_handlers.h"

namespace vantel {

void install_batch_handlers(Session& session)
{
    session.on(Control::Button_start_all, [&session] { Button_start_allClick(session); });
    session.on(Control::Open_ALL_file_button, [&session] { Open_ALL_file_buttonClick(session); });
}

}  // namespace vantel
