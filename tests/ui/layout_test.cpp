// The window as it is laid out: caption, size, tabs, and every
// control at its place with its font and initial text.
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>

#include "base/version.h"
#include "model/initial_texts.h"
#include "ui/tabs.h"
#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Layout = Ui_test;

TEST_F(Layout, window_caption_size_and_place)
{
    EXPECT_EQ(window.windowTitle().toStdString(), "Vantel calculator " + std::string(Program_version));
    EXPECT_EQ(window.objectName(), "Form1");
    window.show();
    // 931 x 523 is the client area of the 939 x 554 outer size; offscreen
    // there is no frame, so the outer rectangle is the client area.
    EXPECT_EQ(window.size(), QSize(931, 523));
    EXPECT_EQ(window.pos(), QPoint(430, 72));
    EXPECT_EQ(window.page_control()->geometry(), QRect(0, 0, 931, 523));
    EXPECT_EQ(QFontInfo(window.font()).pixelSize(), 11);
    EXPECT_FALSE(window.font().bold());
    EXPECT_TRUE(QFontInfo(window.font()).styleHint() == QFont::SansSerif ||
                QFontInfo(window.font()).family().contains("Sans"));
    window.hide();
}

TEST_F(Layout, five_tabs_the_first_active)
{
    QTabWidget* pages = window.page_control();
    ASSERT_EQ(pages->count(), 5);
    EXPECT_EQ(pages->tabText(0), "VantEL");
    EXPECT_EQ(pages->tabText(1), "Manual");
    EXPECT_EQ(pages->tabText(2), "About");
    EXPECT_EQ(pages->tabText(3), "Init");
    EXPECT_EQ(pages->tabText(4), "Chart");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->widget(0)->objectName(), "TabSheet1");
    EXPECT_EQ(pages->widget(3)->objectName(), "TabSheet4");
    EXPECT_EQ(pages->widget(4)->objectName(), "TabSheet5");
}

TEST_F(Layout, every_control_has_its_widget_named_after_it)
{
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (control == Control::Timer1) continue;
        const QString name = QString::fromLatin1(control_name(control).data(),
                                                 static_cast<qsizetype>(control_name(control).size()));
        QWidget* widget = window.widget(control);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        EXPECT_EQ(widget->objectName(), name);
        EXPECT_EQ(window.findChild<QWidget*>(name), widget) << name.toStdString();
    }
    EXPECT_EQ(window.widget(Control::Timer1), nullptr);
    EXPECT_EQ(window.timer1().objectName(), "Timer1");
}

struct Placed {
    Control control;
    const char* container;
    QRect geometry;
};

// Controls whose size is fixed (labels grow with their text; see below).
const Placed fixed_controls[] = {
    {Control::Memo_xn, "TabSheet1", {344, 48, 193, 393}},
    {Control::Button_copy_xn, "TabSheet1", {344, 448, 185, 17}},
    {Control::Button_Step_1, "Panel2", {16, 32, 217, 25}},
    {Control::Button_Step_9, "Panel2", {16, 288, 217, 25}},
    {Control::Edit_epoch, "Panel2", {240, 192, 57, 28}},
    {Control::ProgressBar1, "Panel2", {240, 80, 70, 17}},
    {Control::RadioButton1, "Panel2", {240, 232, 65, 17}},
    {Control::RadioButton6, "Panel2", {240, 312, 65, 17}},
    {Control::Edit_Vantel, "Panel2", {96, 352, 89, 33}},
    {Control::Button8, "Panel2", {96, 384, 89, 25}},
    {Control::Button_start, "Panel2", {200, 376, 113, 33}},
    {Control::Button11, "Panel2", {200, 416, 113, 33}},
    {Control::Open_file_button, "Panel1", {8, 32, 75, 25}},
    {Control::Button_start_all, "Panel1", {120, 32, 121, 25}},
    {Control::Button10, "Panel1", {264, 32, 75, 25}},
    {Control::Memo_user_data, "Panel1", {8, 88, 337, 169}},
    {Control::Edit_column, "Panel1", {48, 264, 49, 28}},
    {Control::Button_column_show, "Panel1", {104, 264, 49, 25}},
    {Control::Edit_N, "Panel1", {232, 264, 57, 28}},
    {Control::Button_copy_result, "Panel1", {216, 320, 129, 17}},
    {Control::Memo_Result, "Panel1", {8, 336, 337, 113}},
    {Control::Memo1, "TabSheet2", {0, 0, 865, 497}},
    {Control::Memo2, "TabSheet3", {0, -2, 865, 497}},
    {Control::Memo3, "TabSheet4", {8, 24, 185, 89}},
    {Control::Memo4, "TabSheet4", {8, 144, 265, 145}},
    {Control::Memo6, "TabSheet4", {8, 312, 185, 89}},
    {Control::Memo5, "TabSheet4", {384, 16, 241, 337}},
    {Control::Open_ALL_file_button, "TabSheet4", {696, 16, 75, 25}},
};

TEST_F(Layout, controls_at_their_places_and_sizes)
{
    for (const auto& placed : fixed_controls) {
        QWidget* widget = window.widget(placed.control);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), placed.geometry) << control_name(placed.control);
        EXPECT_EQ(widget->parentWidget()->objectName(), placed.container) << control_name(placed.control);
    }
    auto* panel2 = window.findChild<QFrame*>("Panel2");
    auto* panel1 = window.findChild<QFrame*>("Panel1");
    ASSERT_TRUE(panel2 && panel1);
    EXPECT_EQ(panel2->geometry(), QRect(0, 8, 321, 457));
    EXPECT_EQ(panel1->geometry(), QRect(552, 8, 361, 457));
    EXPECT_EQ(panel2->parentWidget()->objectName(), "TabSheet1");
    for (int k = 1; k <= 6; ++k) {
        const auto control = static_cast<Control>(static_cast<int>(Control::RadioButton1) + k - 1);
        EXPECT_EQ(window.widget(control)->geometry(), QRect(240, 232 + 16 * (k - 1), 65, 17));
    }
}

struct Placed_label {
    Control control;
    const char* container;
    QRect geometry;
};

// Labels size themselves to their text (like the classic AutoSize): they
// start at their place and are at least the size they were placed with.
const Placed_label labels[] = {
    {Control::Label5, "TabSheet1", {352, 8, 115, 20}},
    {Control::Label8, "TabSheet1", {344, 32, 6, 13}},
    {Control::Label12, "TabSheet1", {480, 16, 14, 25}},
    {Control::Label_file_name, "TabSheet1", {16, 472, 48, 13}},
    {Control::Label2, "Panel2", {16, 8, 294, 20}},
    {Control::Label2_N, "Panel2", {240, 40, 20, 13}},
    {Control::Label_epoch, "Panel2", {96, 328, 130, 20}},
    {Control::Label1, "Panel2", {8, 352, 88, 25}},
    {Control::Label_Time, "Panel2", {8, 432, 80, 13}},
    {Control::Label3, "Panel1", {16, 8, 338, 20}},
    {Control::Label_total_lines, "Panel1", {8, 58, 54, 13}},
    {Control::Label74, "Panel1", {8, 272, 35, 13}},
    {Control::Label_N, "Panel1", {204, 272, 14, 13}},
    {Control::Label7, "Panel1", {8, 320, 202, 13}},
    {Control::Label6, "TabSheet4", {8, 8, 30, 13}},
    {Control::Label13, "TabSheet4", {8, 296, 38, 13}},
};

TEST_F(Layout, labels_at_their_places)
{
    for (const auto& placed : labels) {
        QWidget* widget = window.widget(placed.control);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), placed.geometry.topLeft()) << control_name(placed.control);
        EXPECT_GE(widget->width(), placed.geometry.width()) << control_name(placed.control);
        EXPECT_GE(widget->height(), placed.geometry.height()) << control_name(placed.control);
        EXPECT_EQ(widget->parentWidget()->objectName(), placed.container) << control_name(placed.control);
    }
}

TEST_F(Layout, panel_titles_fit_their_panels)
{
    // The condensed default font keeps the bold titles inside their panels.
    for (Control title : {Control::Label2, Control::Label3}) {
        QWidget* label = window.widget(title);
        EXPECT_LE(label->geometry().right(), label->parentWidget()->width()) << control_name(title);
    }
}

TEST_F(Layout, fonts_sizes_and_weights)
{
    struct Expected {
        Control control;
        int pixels;
        bool bold;
    };
    const Expected fonts[] = {
        {Control::Label5, 16, true},          {Control::Label2, 16, true},
        {Control::Label3, 16, true},          {Control::Label4, 16, true},
        {Control::Label_epoch, 16, true},     {Control::Edit_epoch, 16, true},
        {Control::Label1, 21, true},          {Control::Edit_Vantel, 21, true},
        {Control::Label12, 20, false},        {Control::Edit_column, 16, false},
        {Control::Edit_N, 16, false},         {Control::Label7, 11, false},
        {Control::Button_Step_1, 11, false},  {Control::Memo_Result, 11, false},
        {Control::Memo3, 11, false},          {Control::RadioButton5, 11, false},
        {Control::Label_file_name, 11, false},
    };
    for (const auto& expected : fonts) {
        const QFont font = window.widget(expected.control)->font();
        EXPECT_EQ(font.pixelSize(), expected.pixels) << control_name(expected.control);
        EXPECT_EQ(font.bold(), expected.bold) << control_name(expected.control);
    }
}

TEST_F(Layout, initial_texts)
{
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (control == Control::Memo1 || control == Control::Memo2) continue;
        EXPECT_EQ(window.text(control), initial_text(control)) << control_name(control);
    }
    EXPECT_EQ(window.text(Control::Label2), "The algorithm of Vantel calculation ");
    EXPECT_EQ(window.text(Control::Label7), "column     Vantel   Epoch        N          file");
    EXPECT_EQ(window.lines(Control::Memo3), std::vector<std::string>{"Memo3"});
    EXPECT_EQ(window.lines(Control::Memo6), std::vector<std::string>{"0 0  0"});
    EXPECT_TRUE(window.lines(Control::Memo_xn).empty());
    EXPECT_EQ(window.text(Control::Edit_Vantel), "");
}

TEST_F(Layout, copy_captions_begin_with_cyrillic_es)
{
    for (Control control : {Control::Button_copy_xn, Control::Button_copy_result}) {
        const QString caption = button(control)->text();
        ASSERT_FALSE(caption.isEmpty());
        EXPECT_EQ(caption.at(0).unicode(), 0x0421) << control_name(control);
        EXPECT_TRUE(caption.mid(1).startsWith("opy ")) << control_name(control);
    }
    EXPECT_EQ(button(Control::Button_copy_xn)->text(), QString::fromUtf8("\u0421opy xn to clipboard"));
    EXPECT_EQ(button(Control::Button_copy_result)->text(),
              QString::fromUtf8("\u0421opy result to clipboard"));
    EXPECT_EQ(button(Control::Button8)->text(), "Copy to clipboard");  // Latin C
}

TEST_F(Layout, memos_scroll_bars_and_wrapping)
{
    for (Control both : {Control::Memo_xn, Control::Memo_user_data, Control::Memo_Result,
                         Control::Memo1, Control::Memo4, Control::Memo5}) {
        auto* memo = qobject_cast<QPlainTextEdit*>(window.widget(both));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap) << control_name(both);
        EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << control_name(both);
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << control_name(both);
    }
    for (Control none : {Control::Memo2, Control::Memo3, Control::Memo6}) {
        auto* memo = qobject_cast<QPlainTextEdit*>(window.widget(none));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth) << control_name(none);
        EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << control_name(none);
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << control_name(none);
    }
}

TEST_F(Layout, radio_buttons_one_group_method_5_selected)
{
    EXPECT_EQ(window.selected_method(), 5);
    auto* five = qobject_cast<QRadioButton*>(window.widget(Control::RadioButton5));
    ASSERT_NE(five, nullptr);
    EXPECT_TRUE(five->isChecked());
    ASSERT_NE(five->group(), nullptr);
    EXPECT_EQ(five->group()->buttons().size(), 6);
    EXPECT_TRUE(five->group()->exclusive());
    for (int k = 1; k <= 6; ++k) {
        const auto control = static_cast<Control>(static_cast<int>(Control::RadioButton1) + k - 1);
        EXPECT_EQ(window.text(control), "Method " + std::to_string(k));
        EXPECT_EQ(window.widget(control)->parentWidget()->objectName(), "Panel2");
    }
}

TEST_F(Layout, progress_bar_and_timer_at_start)
{
    auto* bar = qobject_cast<QProgressBar*>(window.widget(Control::ProgressBar1));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(window.progress(), 0);
    EXPECT_EQ(window.timer1().interval(), 4000);
    EXPECT_FALSE(window.timer1().isActive());
    EXPECT_FALSE(window.timer_enabled());
    EXPECT_FALSE(window.enabled(Control::Timer1));
}

// Every line of the Manual is read whole, without scrolling across, at the
// window's size.
TEST_F(Layout, manual_lines_fit_the_memo)
{
    window.show();
    window.page_control()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    auto* memo = qobject_cast<QPlainTextEdit*>(window.widget(Control::Memo1));
    ASSERT_NE(memo, nullptr);
    ASSERT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);
    window.hide();
}

TEST_F(Layout, manual_and_about_texts)
{
    const auto manual = window.lines(Control::Memo1);
    ASSERT_EQ(manual.size(), 29u);
    EXPECT_EQ(manual.size(), ui::manual_lines().size());
    EXPECT_EQ(manual[0], "");
    EXPECT_NE(manual[1].find("Vantel calculator " + std::string(Program_version) + " computes"), std::string::npos);
    std::string all;
    for (const auto& line : manual) all += line + "\n";
    for (const char* needed : {"Debian 12", "Linux", "\"MNIST_10\"", "\"T_pattern\"", "\"Results\"",
                               "\"DATA\"", "\"DATA_RESULT\"", "\"init.txt\"", "logistic_map.txt",
                               "random_discrete_map.txt", "two_valued_map.txt", "\"Open file\"",
                               "\"Column\"", "\"Show\"", "\"Time series xn\"", "\"N =\"", "\"Step 6:\"",
                               "\"START\"", "\"Result\"", "\"START of all columns\"", "\"STOP\"",
                               "every processor core", "two threads", "\"vantel\"", "\"vantel --help\"",
                               "\"Init\" tab", "AUTO, METHOD, N, Path", "never written",
                               "issue tracker", "first 10 lines"})
        EXPECT_NE(all.find(needed), std::string::npos) << needed;
    // The engine computes on every core now; the old advice is gone.
    for (const char* not_there : {"Windows", "@", "http", "single-threaded", "several copies"})
        EXPECT_EQ(all.find(not_there), std::string::npos) << not_there;
    for (int k = 1; k <= 8; ++k)
        EXPECT_NE(all.find("\n" + std::to_string(k) + ". "), std::string::npos) << k;

    const auto about = window.lines(Control::Memo2);
    ASSERT_EQ(about.size(), 10u);
    EXPECT_EQ(about[0], "Vantel calculator " + std::string(Program_version));
    EXPECT_EQ(about[1], "");
    EXPECT_EQ(about[2], "Version " + std::string(Program_version));
    EXPECT_EQ(about[3], "");
    EXPECT_EQ(about[6], "");
    EXPECT_EQ(about[8], "");
    std::string about_all;
    for (const auto& line : about) about_all += line + "\n";
    EXPECT_EQ(about_all.find("@"), std::string::npos);
    EXPECT_EQ(about_all.find("http"), std::string::npos);
}

}  // namespace
}  // namespace vantel::test
