#include "app/startup.h"

#include "engine/core/date_time.h"

namespace vantel {

void FormCreate(Session& session)
{
    session.state.datasets.Datasets_pending = true;
    session.state.run.One_second = one_second_units();
}

void Timer1Timer(Session& session)
{
    session.window.set_timer_enabled(false);
    session.trigger(Control::Open_ALL_file_button);
}

}  // namespace vantel
