// Main_window: the Qt main window, and the Window interface over its controls.
#pragma once

#include <QWidget>

#include "engine/core/session.h"
#include "engine/core/window.h"

namespace vantel {

class Main_window : public QWidget, public Window {
    Q_OBJECT
public:
    Main_window();
    // Connects the buttons to the session's handlers.
    void attach(Session& session);

    std::string text(Control control) const override;
    void set_text(Control control, std::string_view text) override;
    std::vector<std::string> lines(Control control) const override;
    void set_lines(Control control, const std::vector<std::string>& lines) override;
    void add_line(Control control, std::string_view line) override;
    bool enabled(Control control) const override;
    void set_enabled(Control control, bool enabled) override;
    int selected_method() const override;
    void select_method(int k) override;
    int progress() const override;
    void set_progress(int position) override;
    void set_font_color(Control control, std::uint32_t rgb) override;
    bool timer_enabled() const override;
    void set_timer_enabled(bool enabled) override;
    void pump() override;
    void sleep_ms(int milliseconds) override;
    void message(std::string_view text) override;
    void show_error(std::string_view text) override;
    std::optional<std::string> choose_file(std::string_view title, std::string_view filter) override;
    void copy_to_clipboard(Control control) override;
    void close() override;

private:
    Session* session_ = nullptr;
};

}  // namespace vantel
