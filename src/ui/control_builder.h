// Building blocks of the main window: the table Control -> widget, the fonts
// and one factory function per kind of control (label, button, edit, memo,
// radio button, progress bar, panel). Each tab has its own builder file
// (vantel_tab.cpp, init_tab.cpp, text_tabs.cpp) that places its controls
// with the factory.
//
// Every widget made here gets the control's name as its objectName, its
// geometry relative to its container and its initial text (initial_texts.h).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <QFont>
#include <QRect>
#include <QString>

#include "model/control.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vantel::ui {

// The widget of each control of the window; Timer1 has none.
class Control_table {
public:
    void add(Control control, QWidget* widget);
    QWidget* widget(Control control) const;

private:
    std::array<QWidget*, Control_count> widgets_{};
};

// Font of one control; a zero pixel size keeps the window's default size.
struct Control_font {
    int pixel_size = 0;
    bool bold = false;
};

enum class Scroll_bars { none, both };

// The window's default font: a sans font of 11 pixels, slightly condensed so
// that captions written for the narrow "MS Sans Serif" fit their controls.
QFont default_font();
// Control_font applied on a base font.
QFont control_font(const QFont& base, Control_font font_of);

inline QString to_qstring(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string to_utf8(const QString& text)
{
    return text.toStdString();
}

// Labels size themselves to their text (the toolkit's AutoSize), never
// smaller than the size they were placed with.
void fit_label(QLabel* label);

class Builder {
public:
    explicit Builder(Control_table& table) : table_(table) {}

    QFrame* panel(QWidget* parent, const char* name, QRect geometry);
    QLabel* label(QWidget* parent, Control control, QRect geometry, Control_font font = {});
    QPushButton* button(QWidget* parent, Control control, QRect geometry);
    QLineEdit* edit(QWidget* parent, Control control, QRect geometry, Control_font font = {});
    // Memos with both scroll bars do not wrap their lines; memos without
    // scroll bars wrap them at the memo's width. The initial lines are the
    // control's initial text unless `lines` is given.
    QPlainTextEdit* memo(QWidget* parent, Control control, QRect geometry, Scroll_bars bars,
                         const std::vector<std::string_view>* lines = nullptr);
    QRadioButton* radio(QWidget* parent, Control control, QRect geometry, QButtonGroup* group);
    QProgressBar* progress_bar(QWidget* parent, Control control, QRect geometry);

private:
    void name(QWidget* widget, Control control, QRect geometry);
    Control_table& table_;
};

// A push button whose caption is wider than its face gets a narrower font
// (down to 75 % width), so that long step captions are not cut at the sides.
void fit_caption(QPushButton* button);

// Escapes '&' so that a button shows it instead of taking it as a shortcut
// marker, and the reverse.
QString button_caption(const QString& text);
QString caption_text(const QString& caption);

}  // namespace vantel::ui
