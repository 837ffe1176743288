// "START of all columns": drives the single run through the window, as a
// user would, and reads its value back from Edit_Vantel.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "model/batch_handlers.h"
#include "batch/batch_rules.h"
#include "batch/result_files.h"
#include "model/messages.h"

namespace vantel {

namespace {

void show_batch_time(Session& session, Date_time batch_start)
{
    session.window.set_text(Control::Label_Time_all,
                            time_label(session.now(), batch_start, session.state.run.One_second));
}

// One single run; returns what it published. The field is emptied first
// because a refused run ("Please load data!") does not touch it, and the
// previous run's value must not pass for this one's.
std::string run_once(Session& session)
{
    session.window.set_text(Control::Edit_Vantel, "");
    session.trigger(Control::Button_start);
    session.window.pump();
    return session.window.text(Control::Edit_Vantel);
}

// Columns 1, 2, ... until the last one, a STOP noticed after a column, or a
// run that published nothing; each column's line goes to Memo4 and to
// `lines`. An error raised in a run propagates.
void run_columns(Session& session, Date_time batch_start, std::vector<std::string>& lines)
{
    Window& window = session.window;
    for (std::int32_t c = 1;; ++c) {
        window.set_text(Control::Edit_column, std::to_string(c));
        window.pump();
        window.set_text(Control::Edit_epoch, init_line(session, 0));
        window.pump();

        const std::string first = run_once(session);
        std::string second;
        // A run without a value was stopped or refused, and the batch ends
        // with this column. Going on would undo a STOP (the next run clears
        // the flag before the batch looks at it) or repeat the refusal.
        if (!first.empty()) {
            window.sleep_ms(session.timings.batch_pause_ms);
            window.set_text(Control::Edit_epoch, init_line(session, 1));
            window.pump();
            second = run_once(session);
            window.sleep_ms(session.timings.batch_pause_ms);
        }
        lines.push_back(batch_result_line(first, second, session.decimal_separator));
        window.add_line(Batch_lines_memo, lines.back());

        show_batch_time(session, batch_start);
        window.pump();
        if (!batch_goes_on(first, second, c, session.state.series.Column_count, session.state.run.Stop_requested))
            return;
    }
}

std::string error_text(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

}  // namespace

void Button_start_allClick(Session& session)
{
    Window& window = session.window;
    Program_state& state = session.state;

    const auto too_short = [&state] {
        return state.series.Preview_count < static_cast<std::int32_t>(Min_batch_preview);
    };
    if (too_short()) {
        // Inside the all-files batch nobody may be there to answer a file
        // dialog; the file is reported in the window and the batch goes on.
        if (session.flags.All_files_running) throw Vantel_error(std::string(File_not_correct));
        session.trigger(Control::Open_file_button);
    }
    if (too_short()) {
        window.message(File_not_correct);
        return;
    }

    state.run.Stop_requested = false;
    window.set_enabled(Control::Button_start_all, false);
    const Date_time batch_start = session.now();
    show_batch_time(session, batch_start);
    window.pump();

    // The columns finished before a run failed are results all the same:
    // they are saved first, and the error is passed on afterwards. The
    // result file holds this batch's lines only: Memo4 may still show those
    // of earlier batches, of this file or another.
    std::exception_ptr run_error;
    std::vector<std::string> lines;
    try {
        run_columns(session, batch_start, lines);
    } catch (...) {
        run_error = std::current_exception();
    }

    // Each file is tried even when the other could not be written.
    std::vector<std::string> failures;
    if (auto failure = save_lines(run_log_path(state.run.App_dir, session.now()),
                                  window.lines(Control::Memo_Result)))
        failures.push_back(*failure);
    if (auto failure = save_lines(batch_result_path(state.run.App_dir, state.series.File_name), lines))
        failures.push_back(*failure);

    window.set_enabled(Control::Button_start_all, true);
    state.run.Stop_requested = false;

    if (session.flags.All_files_running) {
        // No message box in an unattended run: the all-files batch catches
        // the error and shows it in the window.
        if (!failures.empty()) {
            std::string text = run_error ? error_text(run_error) : std::string();
            for (const std::string& failure : failures) text += (text.empty() ? "" : "; ") + failure;
            throw Vantel_error(text);
        }
    } else {
        for (const std::string& failure : failures) window.message(failure);
    }
    if (run_error) std::rethrow_exception(run_error);
}

}  // namespace vantel
