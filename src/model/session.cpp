#include "model/session.h"

#include <exception>

#include "base/date_time.h"
#include "base/program_folder.h"

namespace vantel {

Session::Session(Program_state& state_, Window& window_)
    : state(state_), window(window_), now(&local_now), executable_dir(executable_folder())
{
}

void Session::on(Control button, Handler handler)
{
    handlers_[static_cast<std::size_t>(button)] = std::move(handler);
}

void Session::trigger(Control button)
{
    const Handler& handler = handlers_[static_cast<std::size_t>(button)];
    if (handler) handler();
}

void Session::click(Control button)
{
    run_action([&] { trigger(button); });
}

void Session::run_action(const std::function<void()>& action)
{
    ++active_actions_;
    try {
        action();
    } catch (const std::exception& error) {
        window.show_error(error_display_text(error.what()));
    } catch (...) {
        window.show_error("Unknown error.");
    }
    --active_actions_;
}

void Session::step_pause()
{
    window.sleep_ms(timings.step_pause_ms);
}

std::string error_display_text(std::string_view text)
{
    std::string shown(text);
    if (!shown.empty() && static_cast<unsigned char>(shown.back()) > '.') shown += '.';
    return shown;
}

std::string init_line(const Session& session, int index)
{
    const auto lines = session.window.lines(Init_memo);
    if (index < 0 || index >= static_cast<int>(lines.size())) return {};
    return lines[static_cast<std::size_t>(index)];
}

}  // namespace vantel
