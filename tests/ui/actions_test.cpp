// Clicks, clipboard buttons, modal boxes, closing and Timer1 on the real
// window. Test handlers are installed with session.on where the handlers of
// the other subsystems would otherwise run.
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWindow>

#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Actions = Ui_test;

QString clipboard_text()
{
    return QGuiApplication::clipboard()->text();
}

TEST_F(Actions, copy_result_copies_rows_with_crlf)
{
    window.set_lines(Control::Memo_Result, {"1\t0.8123\t100\t19625\tfile name=/d/a.txt",
                                            "2\t0.7001\t100\t19625\tfile name=/d/a.txt"});
    click(Control::Button_copy_result);
    EXPECT_EQ(clipboard_text(), "1\t0.8123\t100\t19625\tfile name=/d/a.txt\r\n"
                                "2\t0.7001\t100\t19625\tfile name=/d/a.txt");
    auto* memo = qobject_cast<QPlainTextEdit*>(window.widget(Control::Memo_Result));
    EXPECT_TRUE(memo->textCursor().hasSelection());  // the text stays selected
    EXPECT_EQ(memo->textCursor().selectionStart(), 0);
    EXPECT_TRUE(window.enabled(Control::Button_copy_result));
}

TEST_F(Actions, copy_xn_copies_the_preview)
{
    window.set_lines(Control::Memo_xn, {"1\t0.1", "2\t0.324", "3\t0.7884864"});
    click(Control::Button_copy_xn);
    EXPECT_EQ(clipboard_text(), "1\t0.1\r\n2\t0.324\r\n3\t0.7884864");
    EXPECT_TRUE(window.enabled(Control::Button_copy_xn));
}

TEST_F(Actions, copy_value_copies_edit_vantel)
{
    window.set_text(Control::Edit_Vantel, "0.8765");
    click(Control::Button8);
    EXPECT_EQ(clipboard_text(), "0.8765");
    auto* edit = qobject_cast<QLineEdit*>(window.widget(Control::Edit_Vantel));
    EXPECT_EQ(edit->selectedText(), "0.8765");
}

TEST_F(Actions, button_click_runs_its_handler_and_disabled_button_refuses)
{
    int runs = 0;
    session.on(Control::Button_Step_3, [&] { ++runs; });
    click(Control::Button_Step_3);
    EXPECT_EQ(runs, 1);
    window.set_enabled(Control::Button_Step_3, false);
    click(Control::Button_Step_3);
    EXPECT_EQ(runs, 1);
    session.trigger(Control::Button_Step_3);  // code triggers whatever the state
    EXPECT_EQ(runs, 2);
}

TEST_F(Actions, every_button_is_connected_to_its_control)
{
    std::vector<Control> clicked;
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (qobject_cast<QPushButton*>(window.widget(control)))
            session.on(control, [&clicked, control] { clicked.push_back(control); });
    }
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (!qobject_cast<QPushButton*>(window.widget(control))) continue;
        clicked.clear();
        click(control);
        EXPECT_EQ(clicked, std::vector<Control>{control}) << control_name(control);
    }
}

TEST_F(Actions, message_box_answered_through_the_hook)
{
    session.on(Control::Button_start, [&] { session.window.message("Please load data!"); });
    click(Control::Button_start);
    EXPECT_EQ(window.messages, std::vector<std::string>{"Please load data!"});
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(Actions, handler_error_goes_to_the_error_display)
{
    session.on(Control::Open_file_button, [&] {
        session.window.set_enabled(Control::Open_file_button, false);
        throw Vantel_error("File not correct");
    });
    click(Control::Open_file_button);
    EXPECT_EQ(window.errors, std::vector<std::string>{"File not correct."});
    EXPECT_FALSE(window.enabled(Control::Open_file_button));  // stays as the handler left it
    EXPECT_EQ(session.active_actions(), 0);
}

TEST_F(Actions, file_dialog_answered_through_the_hook)
{
    window.dialog_answers.push_back(std::string("/tmp/x.txt"));
    window.dialog_answers.push_back(std::nullopt);
    EXPECT_EQ(window.choose_file("Open data", "Data(*.txt)|*.txt"), std::optional<std::string>("/tmp/x.txt"));
    EXPECT_EQ(window.choose_file("Open data", "Data(*.txt)|*.txt"), std::nullopt);
    EXPECT_EQ(window.dialog_filters.back(), "Data(*.txt)|*.txt");
}

// Answers the next modal message box with OK and records what it showed.
struct Box_seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool seen = false;
};

void answer_next_box(Box_seen& seen)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), true};
        poll->deleteLater();
        box->button(QMessageBox::Ok)->click();
    });
    poll->start(5);
}

TEST_F(Actions, real_message_box_has_title_text_and_one_ok_button)
{
    window.real_modals = true;
    Box_seen seen;
    answer_next_box(seen);
    window.message("Please load data!");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, "Vantel calculator");
    EXPECT_EQ(seen.text, "Please load data!");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    Box_seen error;
    answer_next_box(error);
    session.on(Control::Button_Step_2, [] { throw Vantel_error("No File T_pattern\\T-pattern-3.VM"); });
    click(Control::Button_Step_2);
    ASSERT_TRUE(error.seen);
    EXPECT_EQ(error.title, "Vantel calculator");
    EXPECT_EQ(error.text, "No File T_pattern\\T-pattern-3.VM.");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(Actions, real_file_dialog_has_title_and_filter)
{
    window.real_modals = true;
    QString title;
    QStringList filters;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        poll->deleteLater();
        dialog->reject();  // the user cancels
    });
    poll->start(5);
    EXPECT_EQ(window.choose_file("Open TXT file", "Data(*.txt)|*.txt"), std::nullopt);
    EXPECT_EQ(title, "Open TXT file");
    EXPECT_EQ(filters, QStringList{"Data(*.txt) (*.txt)"});
}

TEST_F(Actions, close_from_code_waits_for_the_running_action)
{
    window.show();
    bool visible_after_close = false;
    bool pending_during_action = false;
    session.on(Control::Button_start_all, [&] {
        session.window.close();
        session.window.pump();
        visible_after_close = window.isVisible();
        pending_during_action = window.close_pending();
    });
    click(Control::Button_start_all);
    EXPECT_TRUE(visible_after_close);
    EXPECT_TRUE(pending_during_action);
    EXPECT_FALSE(window.isVisible());  // closed once the action returned
    EXPECT_TRUE(window.was_closed());
    EXPECT_FALSE(window.close_pending());
}

TEST_F(Actions, close_box_during_a_pump_waits_for_the_running_action)
{
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    bool still_visible = false;
    int nested_runs = 0;
    session.on(Control::Button_Step_9, [&] { ++nested_runs; });
    session.on(Control::Button_start, [&] {
        // The user clicks the close box, then step 9, while the action pumps.
        QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);
        QTimer::singleShot(0, &window, [&] { click(Control::Button_Step_9); });
        for (int i = 0; i < 5; ++i) {
            session.window.pump();
            session.window.sleep_ms(2);
        }
        still_visible = window.isVisible();
    });
    click(Control::Button_start);
    EXPECT_TRUE(still_visible);
    EXPECT_EQ(nested_runs, 1);  // the nested click ran inside the action, which went on
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.was_closed());
}

TEST_F(Actions, close_during_an_action_started_elsewhere_follows_its_end)
{
    window.show();
    session.on(Control::Button10, [&] { session.window.close(); });
    session.click(Control::Button10);  // not through the window's button
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(pump_until([&] { return !window.isVisible(); }, 2000));
    EXPECT_TRUE(window.was_closed());
}

TEST_F(Actions, close_while_idle_is_immediate)
{
    window.show();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.was_closed());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());  // closing ends the program
}

TEST_F(Actions, close_during_start_up_action_is_carried_out_after_it)
{
    window.run_action([&] { session.window.close(); });
    EXPECT_TRUE(window.was_closed());
}

TEST_F(Actions, timer1_ticks_once_and_runs_the_all_files_button)
{
    int batches = 0;
    bool timer_on_during_batch = true;
    session.on(Control::Open_ALL_file_button, [&] {
        ++batches;
        timer_on_during_batch = window.timer_enabled();
        // The batch pumps for a while; the timer must not start it again.
        for (int i = 0; i < 10; ++i) {
            session.window.pump();
            session.window.sleep_ms(10);
        }
    });
    EXPECT_EQ(window.timer1().interval(), 4000);
    window.timer1().setInterval(20);  // shortened for the test
    window.set_timer_enabled(true);
    EXPECT_TRUE(pump_until([&] { return batches >= 1; }, 3000));
    pump_until([] { return false; }, 200);
    EXPECT_EQ(batches, 1);
    EXPECT_FALSE(timer_on_during_batch);
    EXPECT_FALSE(window.timer_enabled());
}

TEST_F(Actions, enabling_an_enabled_timer_does_not_restart_it)
{
    window.timer1().setInterval(60);
    window.set_timer_enabled(true);
    const int before = window.timer1().remainingTime();
    pump_until([] { return false; }, 30);
    window.set_timer_enabled(true);
    EXPECT_LT(window.timer1().remainingTime(), before);
    window.set_timer_enabled(false);
}

}  // namespace
}  // namespace vantel::test
