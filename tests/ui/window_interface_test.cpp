// The Window interface over the Qt widgets: texts, memo lines, states.
#include <chrono>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include "ui/file_filter.h"
#include "ui/memo_text.h"
#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Lines = std::vector<std::string>;
using Interface = Ui_test;

QPlainTextEdit* memo_widget(const Main_window& window, Control control)
{
    return qobject_cast<QPlainTextEdit*>(window.widget(control));
}

TEST_F(Interface, memo_lines_round_trip)
{
    window.set_lines(Control::Memo_Result, {});
    EXPECT_TRUE(window.lines(Control::Memo_Result).empty());
    EXPECT_EQ(window.text(Control::Memo_Result), "");

    window.set_lines(Control::Memo_Result, {"a", "b\tc"});
    EXPECT_EQ(window.lines(Control::Memo_Result), (Lines{"a", "b\tc"}));
    EXPECT_EQ(window.text(Control::Memo_Result), "a\r\nb\tc");
    EXPECT_EQ(memo_widget(window, Control::Memo_Result)->toPlainText(), "a\nb\tc");

    // A last line that is empty stays a line.
    window.set_lines(Control::Memo_Result, {"a", ""});
    EXPECT_EQ(window.lines(Control::Memo_Result), (Lines{"a", ""}));
    window.set_lines(Control::Memo_Result, {""});
    EXPECT_EQ(window.lines(Control::Memo_Result), (Lines{""}));
    window.set_lines(Control::Memo_Result, {"", "", "x"});
    EXPECT_EQ(window.lines(Control::Memo_Result), (Lines{"", "", "x"}));
}

TEST_F(Interface, memo_text_breaks_lines_at_crlf_cr_and_lf)
{
    window.set_text(Control::Memo4, "x\r\ny\r\n");
    EXPECT_EQ(window.lines(Control::Memo4), (Lines{"x", "y"}));  // a final break adds no line
    window.set_text(Control::Memo4, "x\ny\rz");
    EXPECT_EQ(window.lines(Control::Memo4), (Lines{"x", "y", "z"}));
    window.set_text(Control::Memo4, "x\r\n\r\n");
    EXPECT_EQ(window.lines(Control::Memo4), (Lines{"x", ""}));
    window.set_text(Control::Memo4, "");
    EXPECT_TRUE(window.lines(Control::Memo4).empty());
}

TEST_F(Interface, typed_final_line_break_is_not_a_line)
{
    memo_widget(window, Control::Memo3)->setPlainText("10\n20\n");
    EXPECT_EQ(window.lines(Control::Memo3), (Lines{"10", "20"}));
    EXPECT_EQ(init_line(session, 1), "20");
    EXPECT_EQ(init_line(session, 2), "");
}

TEST_F(Interface, add_line_appends_after_the_last_line)
{
    window.set_lines(Control::Memo5, {});
    window.add_line(Control::Memo5, "a.txt");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{"a.txt"}));
    window.add_line(Control::Memo5, "b.txt");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{"a.txt", "b.txt"}));
    window.add_line(Control::Memo5, "");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{"a.txt", "b.txt", ""}));
    window.add_line(Control::Memo5, "c.txt");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{"a.txt", "b.txt", "", "c.txt"}));

    window.set_text(Control::Memo5, "typed\r\n");  // ends in a line break
    window.add_line(Control::Memo5, "next");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{"typed", "next"}));

    window.set_lines(Control::Memo5, {});
    window.add_line(Control::Memo5, "");
    EXPECT_EQ(window.lines(Control::Memo5), (Lines{""}));
}

TEST_F(Interface, a_wrapped_line_is_still_one_line)
{
    const std::string long_line(300, 'N');
    window.set_lines(Control::Memo3, {"10", "20", "AUTO=NO", "METHOD=5", long_line, "Path="});
    EXPECT_EQ(window.lines(Control::Memo3).size(), 6u);
    EXPECT_EQ(init_line(session, 4), long_line);
    EXPECT_EQ(init_line(session, 5), "Path=");
}

TEST_F(Interface, user_data_lines_are_shown_cut)
{
    const std::string huge(ui::Shown_line_limit + 50, '7');
    window.set_lines(Control::Memo_user_data, {"1\t2", huge});
    const auto shown = window.lines(Control::Memo_user_data);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "1\t2");
    const QString second = memo_widget(window, Control::Memo_user_data)->document()->findBlockByNumber(1).text();
    EXPECT_EQ(second.size(), ui::Shown_line_limit + 1);
    EXPECT_EQ(second.back(), QChar(0x2026));

    // The other memos keep every character.
    window.set_lines(Control::Memo4, {huge});
    EXPECT_EQ(window.lines(Control::Memo4), Lines{huge});

    // A 10 MB line does not freeze the window.
    const auto start = std::chrono::steady_clock::now();
    window.set_text(Control::Memo_user_data, std::string(10'000'000, '5') + "\r\n3\t4");
    window.add_line(Control::Memo_user_data, std::string(10'000'000, '6'));
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_LT(spent, std::chrono::seconds(2));
    const auto lines = window.lines(Control::Memo_user_data);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "3\t4");
    EXPECT_EQ(lines[2].substr(0, 3), "666");
    EXPECT_EQ(lines[2].size(), ui::Shown_line_limit + 3u);  // "…" is 3 bytes in UTF-8
}

TEST_F(Interface, shown_line_never_splits_a_surrogate_pair)
{
    std::string line(ui::Shown_line_limit - 1, 'a');
    for (int i = 0; i < 10; ++i) line += "\xF0\x9D\x84\x9E";  // U+1D11E, two UTF-16 units
    const QString shown = ui::shown_line(line);
    EXPECT_EQ(shown.size(), ui::Shown_line_limit);  // 99999 'a' + "…"
    EXPECT_EQ(shown.back(), QChar(0x2026));
}

TEST_F(Interface, texts_of_edits_labels_and_buttons)
{
    window.set_text(Control::Edit_N, "500");
    EXPECT_EQ(window.text(Control::Edit_N), "500");
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.widget(Control::Edit_N))->text(), "500");

    window.set_text(Control::Label11, "r\xC3\xA9sultat & co.txt");  // UTF-8 "résultat"
    EXPECT_EQ(window.text(Control::Label11), "r\xC3\xA9sultat & co.txt");
    EXPECT_EQ(qobject_cast<QLabel*>(window.widget(Control::Label11))->text(),
              QString::fromUtf8("résultat & co.txt"));

    window.set_text(Control::Button_start, "A & B");
    EXPECT_EQ(window.text(Control::Button_start), "A & B");
    EXPECT_EQ(button(Control::Button_start)->text(), "A && B");  // shown, not a shortcut

    window.set_text(Control::RadioButton3, "Third");
    EXPECT_EQ(window.text(Control::RadioButton3), "Third");
}

TEST_F(Interface, labels_grow_with_their_text)
{
    QWidget* label = window.widget(Control::Label_file_name);
    const QPoint place = label->pos();
    window.set_text(Control::Label_file_name, "file name=/home/user/vantel/DATA/logistic_map.txt");
    EXPECT_EQ(label->pos(), place);
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_GT(label->width(), 48);
}

TEST_F(Interface, enabled_states)
{
    EXPECT_TRUE(window.enabled(Control::Button_Step_3));
    window.set_enabled(Control::Button_Step_3, false);
    EXPECT_FALSE(window.enabled(Control::Button_Step_3));
    EXPECT_FALSE(button(Control::Button_Step_3)->isEnabled());
    window.set_enabled(Control::Button_Step_3, true);
    EXPECT_TRUE(window.enabled(Control::Button_Step_3));

    // A control on a hidden tab is enabled all the same.
    EXPECT_TRUE(window.enabled(Control::Open_ALL_file_button));

    window.set_enabled(Control::Timer1, true);
    EXPECT_TRUE(window.timer_enabled());
    EXPECT_TRUE(window.enabled(Control::Timer1));
    window.set_timer_enabled(false);
    EXPECT_FALSE(window.enabled(Control::Timer1));
}

TEST_F(Interface, method_selection)
{
    window.select_method(2);
    EXPECT_EQ(window.selected_method(), 2);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(window.widget(Control::RadioButton2))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(window.widget(Control::RadioButton5))->isChecked());
    qobject_cast<QRadioButton*>(window.widget(Control::RadioButton6))->click();  // the user's choice
    EXPECT_EQ(window.selected_method(), 6);
    window.select_method(0);
    EXPECT_EQ(window.selected_method(), 0);
    window.select_method(5);
    EXPECT_EQ(window.selected_method(), 5);
}

TEST_F(Interface, progress_position)
{
    window.set_progress(40);
    EXPECT_EQ(window.progress(), 40);
    window.set_progress(100);
    EXPECT_EQ(window.progress(), 100);
    window.set_progress(150);
    EXPECT_EQ(window.progress(), 100);
    window.set_progress(0);
    EXPECT_EQ(window.progress(), 0);
}

TEST_F(Interface, font_colour)
{
    const QColor before = window.widget(Control::Label12)->palette().color(QPalette::WindowText);
    window.set_font_color(Control::Label12, 0xFF0000);
    EXPECT_EQ(window.font_color(Control::Label12), 0xFF0000u);
    EXPECT_EQ(window.widget(Control::Label12)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    window.set_font_color(Control::Label12, 0x0000FF);
    EXPECT_EQ(window.widget(Control::Label12)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(window.widget(Control::Label5)->palette().color(QPalette::WindowText), before);
}

TEST(File_filter, classic_filter_in_qt_form)
{
    ensure_application();
    EXPECT_EQ(ui::qt_file_filter("Data(*.txt)|*.txt"), "Data(*.txt) (*.txt)");
    EXPECT_EQ(ui::qt_file_filter("Text|*.txt;*.dat|All|*"), "Text (*.txt *.dat);;All (*)");
    EXPECT_EQ(ui::qt_file_filter(""), "");
}

TEST_F(Interface, sleep_is_a_plain_sleep)
{
    const auto start = std::chrono::steady_clock::now();
    window.sleep_ms(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace vantel::test
