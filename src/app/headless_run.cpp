#include "app/headless_run.h"

#include <bit>
#include <chrono>
#include <cstring>

#include "app/handlers.h"
#include "app/memory_window.h"
#include "app/sha256.h"
#include "engine/core/date_time.h"
#include "engine/core/session.h"

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

}  // namespace

Headless_result compute_headless(Engine_state& state, const Headless_request& request)
{
    const auto started = std::chrono::steady_clock::now();
    Memory_window window;
    Session session(state, window);
    session.timings = {0, 0};
    session.t_pattern_file = request.t_pattern_file;
    install_handlers(session);

    state.run.App_dir = request.app_dir;
    state.run.One_second = one_second_units();
    window.set_lines(Control::Memo3, {"", "", "AUTO=NO", "", "N=" + std::to_string(request.n),
                                      "Path=" + request.mnist_dir});
    if (state.datasets.Generation == 0) state.datasets.Datasets_pending = true;

    window.answer_dialog(request.data_file);
    session.trigger(Control::Open_file_button);
    fail_on_messages(window);
    window.set_text(Control::Edit_column, std::to_string(request.column));
    window.select_method(request.method);
    window.set_text(Control::Edit_epoch, std::to_string(request.epochs));
    session.trigger(Control::Button_start);
    fail_on_messages(window);

    Headless_result result;
    result.value_text = window.text(Control::Edit_Vantel);
    result.correct_count = state.run.Correct_count;
    result.n = state.series.N;
    result.column = state.series.Column_index;
    result.method = request.method;
    result.epochs = state.run.Epochs;
    result.w2_sha256 = w2_fingerprint(state.net);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

}  // namespace vantel
