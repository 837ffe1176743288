#include "ui/control_builder.h"

#include <algorithm>

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

#include "model/initial_texts.h"
#include "ui/memo_text.h"
#include "ui/scroll_bar_style.h"

namespace vantel::ui {

namespace {

const char* const Design_size_property = "vantel_design_size";

}  // namespace

void Control_table::add(Control control, QWidget* widget)
{
    widgets_[static_cast<std::size_t>(control)] = widget;
}

QWidget* Control_table::widget(Control control) const
{
    const auto index = static_cast<std::size_t>(control);
    return index < widgets_.size() ? widgets_[index] : nullptr;
}

QFont default_font()
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    // DejaVu Sans is about a fifth wider than "MS Sans Serif"; at 85 % its
    // captions fit the controls at their sizes.
    font.setStretch(85);
    return font;
}

QFont control_font(const QFont& base, Control_font font_of)
{
    QFont font = base;
    if (font_of.pixel_size > 0) font.setPixelSize(font_of.pixel_size);
    font.setBold(font_of.bold);
    return font;
}

void fit_label(QLabel* label)
{
    const QSize design = label->property(Design_size_property).toSize();
    const QSize hint = label->sizeHint();
    label->resize(std::max(design.width(), hint.width()), std::max(design.height(), hint.height()));
}

void fit_caption(QPushButton* button)
{
    const QStyle* style = button->style();
    const int room = button->width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    QFont font = button->parentWidget()->font();
    for (int stretch : {font.stretch() > 0 ? font.stretch() : 100, 80, 75}) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room) break;
    }
    if (font == button->parentWidget()->font())
        button->setFont(QFont());  // inherit the window's font again
    else
        button->setFont(font);
}

QString button_caption(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

QString caption_text(const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1String("&&"), QLatin1String("&"));
    return text;
}

void Builder::name(QWidget* widget, Control control, QRect geometry)
{
    widget->setObjectName(to_qstring(control_name(control)));
    widget->setGeometry(geometry);
    table_.add(control, widget);
}

QFrame* Builder::panel(QWidget* parent, const char* name, QRect geometry)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setGeometry(geometry);
    return frame;
}

QLabel* Builder::label(QWidget* parent, Control control, QRect geometry, Control_font font)
{
    auto* label = new QLabel(parent);
    name(label, control, geometry);
    label->setFont(control_font(parent->font(), font));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A label only shows text; clicks go to what lies beneath it.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setProperty(Design_size_property, geometry.size());
    label->setText(to_qstring(initial_text(control)));
    fit_label(label);
    return label;
}

QPushButton* Builder::button(QWidget* parent, Control control, QRect geometry)
{
    auto* button = new QPushButton(parent);
    name(button, control, geometry);
    button->setAutoDefault(false);
    button->setText(button_caption(to_qstring(initial_text(control))));
    fit_caption(button);
    return button;
}

QLineEdit* Builder::edit(QWidget* parent, Control control, QRect geometry, Control_font font)
{
    auto* edit = new QLineEdit(parent);
    name(edit, control, geometry);
    edit->setFont(control_font(parent->font(), font));
    edit->setText(to_qstring(initial_text(control)));
    edit->setCursorPosition(0);
    return edit;
}

QPlainTextEdit* Builder::memo(QWidget* parent, Control control, QRect geometry, Scroll_bars bars,
                              const std::vector<std::string_view>* lines)
{
    auto* memo = new QPlainTextEdit(parent);
    name(memo, control, geometry);
    const bool both = bars == Scroll_bars::both;
    memo->setLineWrapMode(both ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    const auto policy = both ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    memo->setHorizontalScrollBarPolicy(policy);
    memo->setVerticalScrollBarPolicy(policy);
    if (both) {
        // Owned by the memo, whose scroll bars are deleted before it.
        auto* style = new Thumb_style;
        style->setParent(memo);
        memo->horizontalScrollBar()->setStyle(style);
        memo->verticalScrollBar()->setStyle(style);
    }
    // Tab stops every eight average characters, as in the classic edit
    // control, so that tab-separated result rows line up under Label7.
    memo->setTabStopDistance(8 * QFontMetricsF(memo->font()).averageCharWidth());
    // The program rewrites most memos; only Memo3 is meant for typing.
    memo->setUndoRedoEnabled(control == Control::Memo3);
    if (lines) {
        std::vector<QString> shown;
        for (auto line : *lines) shown.push_back(to_qstring(line));
        set_memo_lines(memo, shown);
    } else {
        set_memo_text(memo, to_qstring(initial_text(control)));
    }
    return memo;
}

QRadioButton* Builder::radio(QWidget* parent, Control control, QRect geometry, QButtonGroup* group)
{
    auto* radio = new QRadioButton(parent);
    name(radio, control, geometry);
    radio->setText(button_caption(to_qstring(initial_text(control))));
    group->addButton(radio);
    return radio;
}

QProgressBar* Builder::progress_bar(QWidget* parent, Control control, QRect geometry)
{
    auto* bar = new QProgressBar(parent);
    name(bar, control, geometry);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

}  // namespace vantel::ui
