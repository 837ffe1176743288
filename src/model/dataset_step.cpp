// Step 2: the MNIST-10 files and the T-pattern loaded once per process, with
// the loading's progress in the window.
#include <filesystem>

#include "base/program_folder.h"
#include "base/strings.h"
#include "engine/datasets.h"
#include "model/step_handlers.h"

namespace vantel {

namespace {

// The program's own message for a missing file names it so, wherever it is.
constexpr const char* T_pattern_shown = "T_pattern\\T-pattern-3.VM";

// Marks the session as loading for as long as step 2 runs, however it ends:
// a later load may start again.
class Loading_scope {
public:
    explicit Loading_scope(Session_flags& flags) : flags_(flags) { flags_.Datasets_loading = true; }
    ~Loading_scope() { flags_.Datasets_loading = false; }
    Loading_scope(const Loading_scope&) = delete;
    Loading_scope& operator=(const Loading_scope&) = delete;

private:
    Session_flags& flags_;
};

// The training files show their progress (k / 600, to the nearest); the
// test files only their caption.
void show_progress(Session& s, const char* stage, int record)
{
    s.window.set_text(Control::Label_load_status, stage);
    if (record > 0) s.window.set_progress((record + Train_count / 200) / (Train_count / 100));
    s.window.pump();
}

void load_t_pattern_file(Session& s, Pattern_datasets& d)
{
    const std::string path = s.t_pattern_file.empty() ? default_t_pattern_file(s.state.run.App_dir) : s.t_pattern_file;
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        s.window.message(std::string("No File ") + T_pattern_shown);
        return;
    }
    // Its messages name the file as it was opened, wherever it is.
    const T_pattern_report report = load_t_pattern(d, path);
    const std::string warning = t_pattern_warning(report, path, T_pattern_use::window_goes_on);
    if (!warning.empty()) s.window.message(warning);
}

}  // namespace

std::string mnist_folder(const Session& s)
{
    const std::string line = init_line(s, 5);
    if (line == "Path=") return default_mnist_folder(s.state.run.App_dir);
    return remove_every(line, "Path=");
}

void Button_Step_2Click(Session& s)
{
    Pattern_datasets& d = s.state.datasets;
    if (!d.Datasets_pending) return;
    // The load pumps messages; a START meanwhile must not run a second load
    // inside this one over the same tables.
    if (s.flags.Datasets_loading) {
        s.window.message(Datasets_loading_message);
        return;
    }
    const Loading_scope loading(s.flags);

    s.window.set_enabled(Control::Button_Step_2, false);
    s.step_pause();

    d.Mnist_dir = mnist_folder(s);
    load_mnist(d, d.Mnist_dir, [&s](const char* stage, int record) { show_progress(s, stage, record); });

    s.window.set_text(Control::Label_load_status, "Load T_pattern");
    s.window.pump();
    load_t_pattern_file(s, d);

    s.window.set_enabled(Control::Button_Step_2, true);
    d.Datasets_pending = false;
}

}  // namespace vantel
