#include "app/startup.h"

#include <string>
#include <vector>

#include "base/date_time.h"
#include "base/program_folder.h"
#include "base/strings.h"
#include "base/text_file.h"

namespace vantel {

void FormCreate(Session& session)
{
    auto& state = session.state;
    auto& window = session.window;

    state.datasets.Datasets_pending = true;
    state.run.One_second = one_second_units();
    state.run.App_dir = with_slash(session.executable_dir);

    window.set_lines(Init_memo, {});
    window.set_lines(Batch_lines_memo, {});

    window.set_lines(Init_memo, split_lines(load_text_file(state.run.App_dir + "init.txt")));

    const std::string method_line = init_line(session, 3);
    for (int k = 1; k <= 6; ++k)
        if (method_line == "METHOD=" + std::to_string(k)) window.select_method(k);

    window.set_text(Control::Edit_N, remove_every(init_line(session, 4), "N="));

    window.set_lines(Data_listing_memo, {});
    for (const std::string& name : data_file_names(state.run.App_dir + "DATA"))
        window.add_line(Data_listing_memo, name);

    if (init_line(session, 2) == "AUTO=YES") {
        window.set_text(Control::Label12, "AUTO");
        window.set_font_color(Control::Label12, 0xFF0000);
        window.set_timer_enabled(true);
    } else {
        window.set_text(Control::Label12, "");
    }
}

void Timer1Timer(Session& session)
{
    // Off before the batch starts: the batch pumps messages, and a live timer
    // would start it again inside itself every 4 seconds.
    session.window.set_timer_enabled(false);
    session.trigger(Control::Open_ALL_file_button);
}

}  // namespace vantel
