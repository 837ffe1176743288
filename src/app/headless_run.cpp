#include "app/headless_run.h"

#include <bit>
#include <chrono>
#include <cstring>

#include "app/handlers.h"
#include "model/memory_window.h"
#include "base/sha256.h"
#include "base/date_time.h"
#include "model/session.h"
#include "engine/engine_workspace.h"

namespace vantel {

static_assert(std::endian::native == std::endian::little,
              "W2's fingerprint is defined on little-endian doubles");

std::string w2_fingerprint(const Vedero_network& net)
{
    return sha256_hex(std::string_view(reinterpret_cast<const char*>(net.W2), sizeof net.W2));
}

namespace {

// A message box of the window ends a headless run: there is nobody to read it.
void fail_on_messages(const Memory_window& window)
{
    if (!window.messages.empty()) throw Vantel_error(window.messages.front());
}

// A session with every handler and no pauses, as start-up leaves it, with
// init lines 4 (N) and 5 (the MNIST folder).
void prepare(Session& session, Memory_window& window, const std::string& app_dir, const std::string& n_line,
             const std::string& path_line)
{
    session.timings = {0, 0};
    install_handlers(session);
    session.state.run.App_dir = app_dir;
    session.state.run.One_second = one_second_units();
    window.set_lines(Control::Memo3, {"", "", "AUTO=NO", "", n_line, path_line});
}

}  // namespace

Loaded_datasets::Loaded_datasets(const Dataset_source& source)
    : app_dir_(source.app_dir),
      owner_(std::make_unique<Engine_state>()),
      sparse_(std::make_shared<Sparse_image_cache>())
{
    Memory_window window;
    Session session(*owner_, window);
    prepare(session, window, source.app_dir, "", "Path=" + source.mnist_dir);
    session.t_pattern_file = source.t_pattern_file;
    owner_->datasets.Datasets_pending = true;
    session.trigger(Control::Button_Step_2);
    fail_on_messages(window);
    // Made here, while nobody else reads them yet.
    engine_workspace(session).sparse_cache = sparse_;
    prepare_sparse_images(session);
}

Loaded_datasets::~Loaded_datasets() = default;

Headless_network::Headless_network(Loaded_datasets& datasets)
    : datasets_(datasets), workspace_(std::make_shared<Engine_workspace>())
{
    workspace_->lean = true;
    workspace_->sparse_cache = datasets.sparse_images();
}

Headless_network::~Headless_network() = default;

Headless_result Headless_network::run(const Headless_request& request)
{
    const auto started = std::chrono::steady_clock::now();
    // Default-initialized: the record's own dataset tables are never used,
    // so they are never written and cost no memory (see engine_state.h).
    const std::unique_ptr<Engine_state> state(new Engine_state);
    Memory_window window;
    Session session(*state, window);
    prepare(session, window, datasets_.app_dir(), request.n, "");
    session.share_datasets(datasets_.datasets());
    session.engine_workspace = workspace_;

    Headless_result result;
    result.method = request.method;
    try {
        // The fields as a user sets them before opening the file and after
        // it (the opening writes N from the init line).
        window.set_text(Control::Edit_column, request.column);
        window.answer_dialog(request.data_file);
        session.trigger(Control::Open_file_button);
        fail_on_messages(window);
        window.set_text(Control::Edit_N, request.n);
        window.select_method(request.method);
        window.set_text(Control::Edit_epoch, request.epochs);
        session.trigger(Control::Button_start);
        fail_on_messages(window);
        result.value_text = window.text(Control::Edit_Vantel);
        const auto rows = window.lines(Control::Memo_Result);
        if (!rows.empty()) result.result_row = rows.back();
    } catch (const std::exception& error) {
        result.problem = error.what();
        result.value_text.clear();
    }
    result.correct_count = state->run.Correct_count;
    result.n = state->series.N;
    result.column = state->series.Column_index;
    result.epochs = state->run.Epochs;
    result.w2_sha256 = w2_fingerprint(state->net);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

}  // namespace vantel
