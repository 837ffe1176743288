// Main_window: the Qt main window "Form1", and the Window
// interface over its controls.
//
// The window is built once (every control at its place, size, font and
// initial text) and then attached to the Session, whose
// handlers it runs on button clicks and on Timer1's ticks.
//
// Test hooks: message(), show_error() and choose_file() are virtual (from
// Window); a test subclass overrides them to record and answer instead of
// showing a modal box or dialog. Every widget's objectName is its control
// name, and widget() returns it, so a test clicks a button as a user would
// with qobject_cast<QPushButton*>(window.widget(Control::X))->click().
#pragma once

#include <cstdint>
#include <functional>

#include <QTimer>
#include <QWidget>

#include "model/session.h"
#include "model/window.h"
#include "ui/control_builder.h"

class QButtonGroup;
class QTabWidget;

namespace vantel {

namespace ui {
class Chart_tab;
}

class Main_window : public QWidget, public Window {
    Q_OBJECT
public:
    Main_window();

    // Connects the buttons and Timer1 to the session's handlers.
    void attach(Session& session);
    // Runs a user-facing action (start-up, for one) through the session,
    // then carries out a close that was requested while it ran.
    void run_action(const std::function<void()>& action);

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
    bool learning_curve_wanted() const override;
    void show_learning_curve(const std::vector<double>& values) override;
    // Closes the window; while an action runs the close waits for its end.
    void close() override;

    // The control's widget (nullptr for Timer1), for tests and the builders.
    QWidget* widget(Control control) const { return controls_.widget(control); }
    QTabWidget* page_control() const { return pages_; }
    QTimer& timer1() { return timer_; }
    // Font colour of a control as 0xRRGGBB.
    std::uint32_t font_color(Control control) const;
    // True once a close request waits for the running action to end.
    bool close_pending() const { return close_pending_; }
    // True once the window has been closed.
    bool was_closed() const { return closed_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void on_button(Control button);
    void close_if_pending();

    Session* session_ = nullptr;
    ui::Control_table controls_;
    QTabWidget* pages_ = nullptr;
    ui::Chart_tab* chart_ = nullptr;
    QButtonGroup* methods_ = nullptr;
    QTimer timer_;        // Timer1
    QTimer close_retry_;  // carries out a deferred close started outside the window
    QString last_dialog_folder_;  // empty: the working folder
    bool close_pending_ = false;
    bool closed_ = false;
};

}  // namespace vantel
