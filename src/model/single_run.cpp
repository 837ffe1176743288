// The single run (START) and the steps without a kernel of their own:
// step 1 (the series again), step 6 (epochs), step 9 (publish), STOP.
#include <string>

#include "base/date_time.h"
#include "base/number_format.h"
#include "model/learning_curve.h"
#include "model/step_handlers.h"
#include "series/text_readers.h"

namespace vantel {

namespace {

constexpr int Min_preview_lines = 5;

void show_time_label(Session& session)
{
    const Window_run& run = session.state.run;
    session.window.set_text(Control::Label_Time,
                            time_label(session.now(), run.Run_start, run.One_second));
}

}  // namespace

void Button_startClick(Session& session)
{
    Window& window = session.window;
    Program_state& state = session.state;

    // A click that reaches START through the pumps of a loading step 2 would
    // start a second load inside the first one, over the same arrays.
    if (session.flags.Datasets_loading) {
        window.message(Datasets_loading_message);
        return;
    }
    if (state.series.Preview_count < Min_preview_lines) {
        window.message(Please_load_data);
        return;
    }

    window.set_enabled(Control::Button_start, false);
    state.run.Run_start = session.now();
    show_time_label(session);
    window.pump();

    state.run.Stop_requested = false;
    window.set_text(Control::Edit_Vantel, "");
    const Curve_scope curve(session);

    // All nine run even after a STOP: steps 7 and 9 are the ones that cut
    // their work short. An error in a step ends the run here and leaves
    // START disabled, so the user sees that the run did not finish.
    for (Control step : {Control::Button_Step_1, Control::Button_Step_2, Control::Button_Step_3,
                         Control::Button_Step_4, Control::Button_Step_5, Control::Button_Step_6,
                         Control::Button_Step_7, Control::Button_Step_8, Control::Button_Step_9})
        session.trigger(step);

    if (!state.run.Stop_requested)
        window.add_line(Control::Memo_Result,
                        result_row(window.text(Control::Edit_column), window.text(Control::Edit_Vantel),
                                   window.text(Control::Edit_epoch), window.text(Control::Edit_N),
                                   window.text(Control::Label_file_name)));

    show_time_label(session);
    window.pump();
    window.set_enabled(Control::Button_start, true);
}

void Button_Step_1Click(Session& session)
{
    if (session.state.series.Preview_count < Min_preview_lines) {
        session.window.message(Please_load_data);
        return;
    }
    session.window.set_enabled(Control::Button_Step_1, false);
    session.trigger(Control::Button_column_show);
    // The extraction pumps on its own; this step pauses only afterwards.
    session.step_pause();
    session.window.set_enabled(Control::Button_Step_1, true);
}

void Button_Step_6Click(Session& session)
{
    Window& window = session.window;
    window.set_enabled(Control::Button_Step_6, false);
    session.step_pause();

    std::int32_t epochs = read_integer(window.text(Control::Edit_epoch));
    if (epochs < 1) epochs = 1;  // whatever is not a usable count trains once
    session.state.run.Epochs = epochs;
    window.set_text(Control::Edit_epoch, std::to_string(epochs));

    window.pump();
    window.set_enabled(Control::Button_Step_6, true);
}

void Button_Step_9Click(Session& session)
{
    session.window.set_enabled(Control::Button_Step_9, false);
    session.step_pause();
    // A stopped run trained only partly; its accuracy is not the series' value.
    if (!session.state.run.Stop_requested) {
        const long double value = static_cast<long double>(session.state.run.Accuracy) / 100;
        session.window.set_text(Control::Edit_Vantel,
                                format_value_text(value, session.decimal_separator));
    }
    session.window.set_enabled(Control::Button_Step_9, true);
}

namespace {
// The flags act where the running operations test them; a STOP click itself
// must not disturb a pause or any button.
void request_stop(Session& session)
{
    session.state.run.Stop_requested = true;
    session.state.run.Stop_all_files = true;
}
}  // namespace

void Button10Click(Session& session) { request_stop(session); }
void Button11Click(Session& session) { request_stop(session); }

}  // namespace vantel
