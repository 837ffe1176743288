// Fake_window: the window interface without Qt, for tests.
//
// Controls start with the window's initial texts. A test scripts what
// happens at each pump (for instance a STOP click at the third pump), queues
// the answers of file dialogs, and reads back messages, errors, the
// clipboard and every text. A message box or file dialog the test did not
// expect fails it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/memory_window.h"

namespace vantel::test {

using vantel::is_memo;

class Fake_window : public Memory_window {
public:
    void set_progress(int position) override;
    void set_font_color(Control control, std::uint32_t rgb) override { colors[control] = rgb; }
    void pump() override;
    void sleep_ms(int milliseconds) override { slept_ms += milliseconds; ++sleeps; }
    void message(std::string_view text) override;
    std::optional<std::string> choose_file(std::string_view title,
                                           std::string_view filter) override;
    void close() override { ++close_requests; }

    // Scripting. on_pump runs the action at pump number `index` (1-based,
    // counting every pump since the fake was made or reset_pumps was called).
    void on_pump(int index, std::function<void()> action);
    // Runs at every pump, after the scripted one.
    std::function<void()> every_pump;
    void reset_pumps() { pumps = 0; pump_actions_.clear(); }
    // Queue the answers of the next file dialogs; nothing queued fails the test.
    void answer_dialog(std::optional<std::string> path) { dialog_answers_.push_back(std::move(path)); }
    // Messages matching these texts are expected; any other one fails the test.
    void expect_message(std::string text) { expected_messages_.push_back(std::move(text)); }
    void allow_any_message() { any_message_ok_ = true; }

    // What the code under test did (messages, errors and clipboard are
    // recorded by Memory_window).
    int pumps = 0;
    int sleeps = 0;
    long long slept_ms = 0;
    int close_requests = 0;
    std::vector<std::string> dialog_titles;
    std::vector<std::string> dialog_filters;
    std::vector<int> progress_history;
    std::map<Control, std::uint32_t> colors;

private:
    std::map<int, std::function<void()>> pump_actions_;
    std::deque<std::optional<std::string>> dialog_answers_;
    std::vector<std::string> expected_messages_;
    bool any_message_ok_ = false;
};

}  // namespace vantel::test
