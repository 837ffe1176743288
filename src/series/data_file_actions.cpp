#include "series/data_file_actions.h"

namespace vantel {

void Open_file_buttonClick(Session&) {}
void Button_column_showClick(Session&) {}

void install_series_handlers(Session& session)
{
    session.on(Control::Open_file_button, [&session] { Open_file_buttonClick(session); });
    session.on(Control::Button_column_show, [&session] { Button_column_showClick(session); });
}

}  // namespace vantel
