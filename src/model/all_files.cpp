// "Open All Files": every data file listed in Memo5 is loaded and computed
// by the all-columns batch, then the program ends. It is the unattended mode,
// so a file it cannot handle is noted in the window and passed over. The only
// box it opens is "File is not correct", for a short file without the marker.

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "base/strings.h"
#include "model/batch_handlers.h"
#include "batch/batch_rules.h"
#include "batch/result_files.h"
#include "model/messages.h"
#include "model/series_actions.h"
#include "series/data_file.h"

namespace vantel {

namespace {

// Marks the batches started from here as unattended for as long as the
// all-files batch runs, however it ends.
class All_files_scope {
public:
    explicit All_files_scope(Session_flags& flags) : flags_(flags), was_(flags.All_files_running)
    {
        flags_.All_files_running = true;
    }
    ~All_files_scope() { flags_.All_files_running = was_; }
    All_files_scope(const All_files_scope&) = delete;
    All_files_scope& operator=(const All_files_scope&) = delete;

private:
    Session_flags& flags_;
    bool was_;
};

// Label11 shows the name of the file in progress; a problem with the file
// is written after it, where the user looks for the file's results, and stays
// until the next file replaces it.
void note_problem(Window& window, const std::string& name, const std::string& problem)
{
    window.set_text(Control::Label11, name + ": " + problem);
}

void process_file(Session& session, const std::string& name)
{
    Window& window = session.window;
    Series_input& series = session.state.series;

    // Each file's two result files hold only that file's lines.
    window.set_lines(Batch_lines_memo, {});
    window.set_lines(Control::Memo_Result, {});
    series.Preview_count = 0;
    window.set_lines(Control::Memo_user_data, {});
    series.Data_lines.emplace();

    const std::string path = session.state.run.App_dir + "DATA/" + name;
    window.set_text(Control::Label_file_name, "file name=" + path);

    Data_text text;
    std::string skip_reason;
    try {
        text = read_data_text(path);
        if (text.lines.empty()) skip_reason = "the file is empty";
    } catch (const std::exception& error) {
        skip_reason = error.what();
    }
    if (!skip_reason.empty()) {
        window.set_text(Control::Label_total_lines, "Total lines=0");
        note_problem(window, name, "skipped (" + skip_reason + ")");
        return;
    }

    const Batch_file_plan plan = plan_batch_file(text.lines);
    const bool turbo = is_turbo(text.lines);
    series.Data_lines = std::move(text.lines);
    const std::vector<std::string>& data = *series.Data_lines;
    series.File_name = name;
    window.set_text(Control::Label11, file_label(name, text));
    window.set_text(Control::Label_total_lines, "Total lines=" + std::to_string(data.size()));
    series.Preview_count = static_cast<std::int32_t>(std::min(data.size(), Max_preview_lines));

    if (plan.placeholder || plan.not_correct) {
        if (plan.placeholder) {
            if (auto failure = save_lines(batch_result_path(session.state.run.App_dir, name),
                                          window.lines(Placeholder_memo)))
                note_problem(window, name, *failure);
        } else {
            window.message(File_is_not_correct);
        }
    } else {
        window.set_lines(Control::Memo_user_data,
                         std::vector<std::string>(data.begin(), data.begin() + series.Preview_count));
        series.Column_count = column_count(data[0]);
        window.set_text(Control::Label_number_of_columns,
                        "Number of columns=" + std::to_string(series.Column_count));
        window.set_text(Control::Edit_N, remove_every(init_line(session, 4), "N="));
    }
    if (turbo) return;

    // A failure ends this file's computation only; the all-columns batch has
    // saved what it finished before passing the error on.
    try {
        session.trigger(Control::Button_column_show);
        session.trigger(Control::Button_start_all);
    } catch (const std::exception& error) {
        note_problem(window, name, error.what());
    } catch (...) {
        note_problem(window, name, "Unknown error");
    }
}

}  // namespace

void Open_ALL_file_buttonClick(Session& session)
{
    Window& window = session.window;
    session.state.run.Stop_all_files = false;
    window.set_enabled(Control::Open_ALL_file_button, false);

    if (!window.lines(Data_listing_memo).empty()) {
        const All_files_scope unattended(session.flags);
        std::size_t done = 0;
        do {
            process_file(session, window.lines(Data_listing_memo)[done]);
            ++done;
            if (session.state.run.Stop_all_files) break;
            // Memo5 stays editable meanwhile, so its lines are counted anew.
            // "<" and not "!=": lines deleted during a file end the loop
            // instead of sending it past the end of the listing.
        } while (done < window.lines(Data_listing_memo).size());
        // The window closes once this handler has returned.
        window.close();
    }
    window.set_enabled(Control::Open_ALL_file_button, true);
}

}  // namespace vantel
