// Support of the window tests: one QApplication per process (offscreen
// unless QT_QPA_PLATFORM says otherwise), a main window whose modal boxes and
// file dialogs are answered by the test, and a fixture with a Session and
// every handler installed.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QPushButton>

#include "model/session.h"
#include "ui/main_window.h"

namespace vantel::test {

// Creates the QApplication on first use; every test calls it (the fixture
// does) before making widgets.
void ensure_application();

// The real Main_window with the three modal operations answered by the
// test: message() and show_error() record their texts, choose_file() pops
// the next queued answer. With `real_modals` set they show the real boxes.
class Scripted_window : public Main_window {
public:
    void message(std::string_view text) override;
    void show_error(std::string_view text) override;
    std::optional<std::string> choose_file(std::string_view title, std::string_view filter) override;

    bool real_modals = false;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> dialog_titles;
    std::vector<std::string> dialog_filters;
    std::deque<std::optional<std::string>> dialog_answers;
};

struct Application_guard {
    Application_guard() { ensure_application(); }
};

class Ui_test : public ::testing::Test {
protected:
    Ui_test();

    // The button of a control, as the user sees it.
    QPushButton* button(Control control) const;
    // A user's click: refused by Qt when the button is disabled.
    void click(Control control) { button(control)->click(); }
    // Pumps the event loop until `done` holds or the time runs out.
    bool pump_until(const std::function<bool()>& done, int timeout_ms = 3000);

    Application_guard application_;
    Program_state& state;
    Scripted_window window;
    Session session;
};

}  // namespace vantel::test
