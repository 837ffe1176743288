#include "ui_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include "app/handlers.h"

namespace vantel::test {

namespace {

// The engine record is large; one for all window tests, the few that
// compute on small synthetic datasets among them.
Program_state& shared_state()
{
    static auto* state = new Program_state();
    return *state;
}

}  // namespace

void ensure_application()
{
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends, like the program's QApplication.
    new QApplication(argc, argv);
}

void Scripted_window::message(std::string_view text)
{
    if (real_modals) return Main_window::message(text);
    messages.emplace_back(text);
}

void Scripted_window::show_error(std::string_view text)
{
    if (real_modals) return Main_window::show_error(text);
    errors.emplace_back(text);
}

std::optional<std::string> Scripted_window::choose_file(std::string_view title, std::string_view filter)
{
    if (real_modals) return Main_window::choose_file(title, filter);
    dialog_titles.emplace_back(title);
    dialog_filters.emplace_back(filter);
    if (dialog_answers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title;
        return std::nullopt;
    }
    auto answer = std::move(dialog_answers.front());
    dialog_answers.pop_front();
    return answer;
}

Ui_test::Ui_test() : state(shared_state()), session(state, window)
{
    session.timings = {0, 0};
    window.attach(session);
    install_handlers(session);
}

QPushButton* Ui_test::button(Control control) const
{
    auto* found = qobject_cast<QPushButton*>(window.widget(control));
    EXPECT_NE(found, nullptr) << control_name(control) << " is not a push button";
    return found;
}

bool Ui_test::pump_until(const std::function<bool()>& done, int timeout_ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout_ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace vantel::test
