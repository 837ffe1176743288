// What a memo shows after the program writes to it, and where its scroll
// bars' thumbs are, as a person sees them: in the shown window, with the
// thumb found by its colour in the painted bar.
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>

#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Memo_view = Ui_test;

// A result row as START adds it, with a path long enough to be wider than
// every memo, the Manual's included.
std::string result_row(int column)
{
    std::string path = "/some/long/path";
    while (path.size() < 240) path += "/recordings";
    return std::to_string(column) + "\t0.8765\t100\t19625\tfile name=" + path + "/data.txt";
}

// The painted bar, split where the style puts its parts.
struct Painted_bar {
    QRect groove;    // the track between the arrow buttons
    QRect thumb;
    QRect before;    // track before the thumb (above or left of it)
    QRect after;     // track after it
    QImage image;

    int gray_at(QRect part) const
    {
        const QPoint centre = part.center() * image.devicePixelRatio();
        return qGray(image.pixel(centre));
    }
};

Painted_bar paint(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.upsideDown = bar->invertedAppearance();
    const QStyle* style = bar->style();
    const auto part = [&](QStyle::SubControl control) {
        return style->subControlRect(QStyle::CC_ScrollBar, &option, control, bar);
    };
    return {part(QStyle::SC_ScrollBarGroove), part(QStyle::SC_ScrollBarSlider),
            part(QStyle::SC_ScrollBarSubPage), part(QStyle::SC_ScrollBarAddPage),
            bar->grab().toImage()};
}

enum class Thumb_at { start, end };

// The thumb lies at `at` end of the track and is clearly darker than the
// free track beside it, so that the eye takes it, not the track, for the
// thumb.
void expect_thumb(QScrollBar* bar, Thumb_at at, const std::string& where)
{
    const Painted_bar painted = paint(bar);
    const bool vertical = bar->orientation() == Qt::Vertical;
    const int groove_start = vertical ? painted.groove.top() : painted.groove.left();
    const int groove_end = vertical ? painted.groove.bottom() : painted.groove.right();
    const int thumb_start = vertical ? painted.thumb.top() : painted.thumb.left();
    const int thumb_end = vertical ? painted.thumb.bottom() : painted.thumb.right();
    const QRect free_track = at == Thumb_at::start ? painted.after : painted.before;
    ASSERT_FALSE(free_track.isEmpty()) << where << ": the thumb fills the track";
    if (at == Thumb_at::start)
        EXPECT_EQ(thumb_start, groove_start) << where;
    else
        EXPECT_EQ(thumb_end, groove_end) << where;
    EXPECT_LT(painted.gray_at(painted.thumb) + 40, painted.gray_at(free_track))
        << where << ": the thumb must look darker than the free track";
}

// The start of the block's line is inside the memo's view.
bool line_start_in_view(const QPlainTextEdit* memo, const QTextBlock& block)
{
    QTextCursor cursor(block);
    return memo->viewport()->rect().contains(memo->cursorRect(cursor));
}

TEST_F(Memo_view, lists_show_line_starts_and_thumbs_follow_the_view)
{
    window.show();
    for (Control control : {Control::Memo_Result, Control::Memo_xn, Control::Memo_user_data,
                            Control::Memo1, Control::Memo4, Control::Memo5}) {
        const std::string name(control_name(control));
        auto* memo = qobject_cast<QPlainTextEdit*>(window.widget(control));
        ASSERT_NE(memo, nullptr) << name;
        for (int tab = 0; tab < window.page_control()->count(); ++tab)
            if (window.page_control()->widget(tab)->isAncestorOf(memo))
                window.page_control()->setCurrentIndex(tab);
        QScrollBar* across = memo->horizontalScrollBar();
        QScrollBar* down = memo->verticalScrollBar();

        // State: more rows than fit, each wider than the memo.
        // Action: the lines are set. Expected: the first row from its start.
        std::vector<std::string> rows;
        for (int k = 1; k <= 60; ++k) rows.push_back(result_row(k));
        window.set_lines(control, rows);
        QCoreApplication::processEvents();
        EXPECT_EQ(across->value(), across->minimum()) << name;
        EXPECT_EQ(down->value(), down->minimum()) << name;
        EXPECT_TRUE(line_start_in_view(memo, memo->document()->firstBlock())) << name;
        expect_thumb(across, Thumb_at::start, name + " after set_lines, across");
        expect_thumb(down, Thumb_at::start, name + " after set_lines, down");

        // The user looks at the ends of the lines; then a row is appended,
        // as START appends its result. Expected: the new row from its start.
        across->setValue(across->maximum());
        QCoreApplication::processEvents();
        expect_thumb(across, Thumb_at::end, name + " scrolled to the right, across");
        window.add_line(control, result_row(61));
        QCoreApplication::processEvents();
        EXPECT_EQ(across->value(), across->minimum()) << name;
        EXPECT_EQ(down->value(), down->maximum()) << name;
        const QTextBlock added = memo->document()->lastBlock();
        ASSERT_EQ(added.text().toStdString(), result_row(61)) << name;
        EXPECT_TRUE(line_start_in_view(memo, added)) << name;
        expect_thumb(across, Thumb_at::start, name + " after add_line, across");
        expect_thumb(down, Thumb_at::end, name + " after add_line, down");

        // A row appended while the memo's tab is not shown (the batches
        // fill the Init tab's lists behind the VantEL tab) is in view once
        // the tab is shown again.
        const int own_tab = window.page_control()->currentIndex();
        window.page_control()->setCurrentIndex(own_tab == 0 ? 1 : 0);
        window.add_line(control, result_row(62));
        window.page_control()->setCurrentIndex(own_tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(across->value(), across->minimum()) << name;
        EXPECT_TRUE(line_start_in_view(memo, memo->document()->lastBlock())) << name << " hidden";
        expect_thumb(down, Thumb_at::end, name + " after add_line behind another tab, down");
    }
    window.hide();
}

}  // namespace
}  // namespace vantel::test
