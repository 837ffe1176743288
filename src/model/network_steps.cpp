// Steps 3, 4, 5, 7 and 8 in the window: each disables its button, pauses,
// runs the engine's kernel on the session's records and enables its button
// again. An overflow ends the step with its button enabled, so that the
// user can retry once the series has changed; any other error leaves it
// disabled.
#include "base/date_time.h"
#include "engine/extended_arithmetic.h"
#include "engine/normalization.h"
#include "engine/reservoir.h"
#include "engine/training.h"
#include "model/learning_curve.h"
#include "model/step_handlers.h"

namespace vantel {

namespace {

// Runs a step's work under the step protocol.
template <typename Work>
void run_step(Session& session, Control button, Work work)
{
    session.window.set_enabled(button, false);
    session.step_pause();
    try {
        work();
    } catch (const Overflow_error&) {
        session.window.set_enabled(button, true);
        throw;
    }
    session.window.set_enabled(button, true);
}

// Training in the window: between two images the clock decides whether the
// time label is due (more than a second since its last update), and a STOP
// handled in a pump ends the training after the image in progress.
class Window_pace : public Training_pace {
public:
    explicit Window_pace(Session& session) : session_(session) {}

    bool pause_due() override
    {
        reading = session_.now();
        return due(reading);
    }
    bool stop_requested() override { return session_.state.run.Stop_requested; }

    bool due(Date_time now) const
    {
        const Window_run& run = session_.state.run;
        return static_cast<Extended>(now) - run.Last_time_update > run.One_second;
    }

    Date_time reading = 0;  // the clock at the last pause_due

private:
    Session& session_;
};

}  // namespace

void Button_Step_3Click(Session& session)
{
    run_step(session, Control::Button_Step_3, [&] { reset_network(session.state.net); });
}

void Button_Step_4Click(Session& session)
{
    Window& window = session.window;
    window.set_enabled(Control::Button_Step_4, false);
    const int method = window.selected_method();
    session.step_pause();

    const Series_input& series = session.state.series;
    // Before the first extraction N is 0: the wrap and the segment search
    // would read outside the series.
    if (series.N < 5 || series.N > Max_N) {
        window.message(Extract_first);
        window.set_enabled(Control::Button_Step_4, true);
        return;
    }
    try {
        fill_reservoir(session.state.net, series.xn, series.N, method);
    } catch (const Overflow_error&) {
        window.set_enabled(Control::Button_Step_4, true);
        throw;
    }
    window.set_enabled(Control::Button_Step_4, true);
}

void Button_Step_5Click(Session& session)
{
    run_step(session, Control::Button_Step_5, [&] {
        measure_bounds(engine_workspace(session), session.state.net, session.datasets());
    });
}

void Button_Step_7Click(Session& session)
{
    Window& window = session.window;
    Window_run& run = session.state.run;
    run_step(session, Control::Button_Step_7, [&] {
        run.Learning_rate = Training_rate;
        run.Last_time_update = session.now();
        run.Current_epoch = 0;
        Output_trainer trainer(engine_workspace(session), session.state.net, run, session.datasets());
        // A handler run inside the pump may read or change the network.
        const auto pump = [&] {
            trainer.store();
            window.pump();
            trainer.reload();
        };
        Window_pace pace(session);
        for (;;) {
            run.Current_epoch = run.Current_epoch + 1;
            window.set_text(Control::Label_epoch, "Current epoch =" + std::to_string(run.Current_epoch));
            pump();
            Date_time now = session.now();
            for (int k = 1; k != 0;) {
                if (pace.due(now)) {
                    window.set_text(Control::Label_Time, time_label(now, run.Run_start, run.One_second));
                    pump();
                    run.Last_time_update = session.now();
                }
                k = trainer.train_from(k, pace);
                now = pace.reading;
            }
            if (run.Curve_wanted && !run.Stop_requested) {
                trainer.store();
                add_curve_point(session);
            }
            if (run.Current_epoch == run.Epochs || run.Stop_requested) break;
        }
        trainer.store();
    });
}

void Button_Step_8Click(Session& session)
{
    run_step(session, Control::Button_Step_8, [&] {
        test_network(engine_workspace(session), session.state.net, session.state.run, session.datasets());
    });
}

}  // namespace vantel
