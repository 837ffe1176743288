// Session: Program_state, the window and the table of button handlers.
//
// Every action is the handler of a button. A user's click enters through
// click(), which runs the handler and shows any error it raises on the
// general error display. Handlers call each other only through trigger(),
// which runs the button's handler at once, to its end, whatever the button's
// enabled state; an error raised in a triggered handler propagates to the
// click that started the chain, ending every handler on the way.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/error.h"
#include "model/control.h"
#include "model/program_state.h"
#include "model/window.h"

namespace vantel {

// Pauses that tests may shorten; the program keeps the defaults.
struct Timings {
    int step_pause_ms = 500;    // every step handler
    int batch_pause_ms = 2000;  // after each run of the all-columns batch
};

// Extra state of the session that is not part of Program_state.
struct Session_flags {
    bool Datasets_loading = false;  // step 2 is loading (a nested load is refused)
    // The all-files batch runs: an unattended run must not stop at a modal
    // box, so the batches it starts report their problems in the window.
    bool All_files_running = false;
};

using Handler = std::function<void()>;
using Clock = std::function<Date_time()>;

class Session {
public:
    Session(Program_state& state, Window& window);

    Program_state& state;
    Window& window;
    Timings timings;
    Session_flags flags;
    // The system's decimal separator, for the number parser and value texts.
    char decimal_separator = '.';
    // The local clock as a date-time; tests may replace it.
    Clock now;
    // Folder of the running executable, ending in '/'; start-up makes it
    // App_dir. Tests point it at a folder of their own.
    std::string executable_dir;
    // The T-pattern file step 2 reads; empty means the program folder's
    // "T_pattern/T-pattern-3.VM".
    std::string t_pattern_file;
    // Caches of the fast engine, made by the engine on first use.
    std::shared_ptr<struct Engine_workspace> engine_workspace;

    // The pattern datasets steps 5, 7 and 8 read: the state's own, which
    // step 2 loads, unless share_datasets() named a set loaded elsewhere,
    // which no step of this session may change.
    const Pattern_datasets& datasets() const { return shared_datasets_ ? *shared_datasets_ : state.datasets; }
    void share_datasets(const Pattern_datasets& loaded) { shared_datasets_ = &loaded; }

    void on(Control button, Handler handler);
    // Runs the button's handler now, whatever its enabled state.
    void trigger(Control button);
    // A user's action: runs the handler and reports any error it raises on
    // the general error display. The window then goes on idle.
    void click(Control button);
    // Runs any user-facing action (a click, a timer tick, start-up) with the
    // general error display.
    void run_action(const std::function<void()>& action);

    // Number of user actions in progress (nested ones through pumps count).
    int active_actions() const { return active_actions_; }

    // The step protocol's pause: a plain sleep of step_pause_ms.
    void step_pause();

private:
    std::array<Handler, Control_count> handlers_{};
    const Pattern_datasets* shared_datasets_ = nullptr;
    int active_actions_ = 0;
};

// The text the general error display shows for an error text: a full stop
// is appended when the last character sorts after '.'.
std::string error_display_text(std::string_view text);

// Init line i (0..5) of Memo3 at this moment; a missing line reads as empty.
std::string init_line(const Session& session, int index);

}  // namespace vantel
