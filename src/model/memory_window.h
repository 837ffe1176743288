// Memory_window: the window interface kept in memory, for running the
// program's handlers without a screen (the fuzz targets; the tests' fake
// window builds on it). The command computes without the window model.
//
// Controls start with the window's initial texts; pumps and sleeps do
// nothing; messages are collected for the caller to report.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/window.h"

namespace vantel {

class Memory_window : public Window {
public:
    Memory_window();

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
    void set_progress(int position) override { progress_ = position; }
    void set_font_color(Control, std::uint32_t) override {}
    bool timer_enabled() const override { return timer_enabled_; }
    void set_timer_enabled(bool enabled) override { timer_enabled_ = enabled; }
    void pump() override {}
    void sleep_ms(int) override {}
    void message(std::string_view text) override { messages.emplace_back(text); }
    void show_error(std::string_view text) override { errors.emplace_back(text); }
    std::optional<std::string> choose_file(std::string_view title, std::string_view filter) override;
    void copy_to_clipboard(Control control) override { clipboard = text(control); }
    bool learning_curve_wanted() const override { return curve_wanted; }
    void show_learning_curve(const std::vector<double>& values) override { shown_curve = values; }
    void close() override { closed = true; }

    // The answer of the next file dialog (none queued: the dialog is cancelled).
    void answer_dialog(std::optional<std::string> path) { dialog_answers_.push_back(std::move(path)); }

    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::string clipboard;
    bool closed = false;
    bool curve_wanted = false;  // the Chart tab's box
    std::vector<double> shown_curve;

private:
    std::map<Control, std::string> texts_;
    std::map<Control, std::vector<std::string>> memo_lines_;
    std::map<Control, bool> disabled_;
    std::deque<std::optional<std::string>> dialog_answers_;
    int method_ = 5;
    int progress_ = 0;
    bool timer_enabled_ = false;
};

// True for the controls that hold lines (the memos).
bool is_memo(Control control);

}  // namespace vantel
