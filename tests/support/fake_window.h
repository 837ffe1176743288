// Fake_window: the window interface without Qt, for tests.
//
// Controls start with the window's initial texts. A test scripts what
// happens at each pump (for instance a STOP click at the third pump), queues
// the answers of file dialogs, and reads back messages, errors, the
// clipboard and every text. A message box the test did not expect fails it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/window.h"

namespace vantel::test {

class Fake_window : public Window {
public:
    Fake_window();

    std::string text(Control control) const override;
    void set_text(Control control, std::string_view text) override;
    std::vector<std::string> lines(Control control) const override;
    void set_lines(Control control, const std::vector<std::string>& lines) override;
    void add_line(Control control, std::string_view line) override;
    bool enabled(Control control) const override;
    void set_enabled(Control control, bool enabled) override;
    int selected_method() const override { return method_; }
    void select_method(int k) override { method_ = k; }
    int progress() const override { return progress_; }
    void set_progress(int position) override;
    void set_font_color(Control control, std::uint32_t rgb) override { colors[control] = rgb; }
    bool timer_enabled() const override { return timer_enabled_; }
    void set_timer_enabled(bool enabled) override { timer_enabled_ = enabled; }
    void pump() override;
    void sleep_ms(int milliseconds) override { slept_ms += milliseconds; ++sleeps; }
    void message(std::string_view text) override;
    void show_error(std::string_view text) override { errors.emplace_back(text); }
    std::optional<std::string> choose_file(std::string_view title,
                                           std::string_view filter) override;
    void copy_to_clipboard(Control control) override { clipboard = text(control); }
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

    // What the code under test did.
    int pumps = 0;
    int sleeps = 0;
    long long slept_ms = 0;
    int close_requests = 0;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> dialog_titles;
    std::vector<std::string> dialog_filters;
    std::vector<int> progress_history;
    std::string clipboard;
    std::map<Control, std::uint32_t> colors;

private:
    std::map<Control, std::string> texts_;
    std::map<Control, std::vector<std::string>> memo_lines_;
    std::map<Control, bool> disabled_;
    std::map<int, std::function<void()>> pump_actions_;
    std::deque<std::optional<std::string>> dialog_answers_;
    std::vector<std::string> expected_messages_;
    bool any_message_ok_ = false;
    int method_ = 5;
    int progress_ = 0;
    bool timer_enabled_ = false;
};

// True for the controls that hold lines (the memos).
bool is_memo(Control control);

}  // namespace vantel::test
