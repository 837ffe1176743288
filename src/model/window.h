// Window: the one narrow interface through which the engine, the series input
// and the batches reach the main window.
//
// The program keeps its settings and channels in the window's controls: the
// single run reads the column, N and the epochs from edits, publishes its
// value in Edit_Vantel, and the batches write and read these same texts. So
// the handlers only ever need the operations below. The Qt window implements
// them; tests implement them with a scripted fake.
//
// Texts are 8-bit strings (UTF-8 where the window shows them). Memo lines are
// the memo's logical lines: a line wrapped on screen is still one line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/control.h"

namespace vantel {

class Window {
public:
    virtual ~Window() = default;

    // Text of an edit, caption of a label or button, or all lines of a memo
    // joined with CR LF.
    virtual std::string text(Control control) const = 0;
    virtual void set_text(Control control, std::string_view text) = 0;

    // Lines of a memo. An empty memo has no lines; a final line break does
    // not add an empty line.
    virtual std::vector<std::string> lines(Control control) const = 0;
    virtual void set_lines(Control control, const std::vector<std::string>& lines) = 0;
    virtual void add_line(Control control, std::string_view line) = 0;

    virtual bool enabled(Control control) const = 0;
    virtual void set_enabled(Control control, bool enabled) = 0;

    // The fill method of the selected radio button, 1..6, or 0 when none is.
    virtual int selected_method() const = 0;
    // Selects RadioButton<k>, which deselects the others of its group.
    virtual void select_method(int k) = 0;

    virtual int progress() const = 0;  // ProgressBar1, 0..100
    virtual void set_progress(int position) = 0;
    virtual void set_font_color(Control control, std::uint32_t rgb) = 0;

    virtual bool timer_enabled() const = 0;  // Timer1
    virtual void set_timer_enabled(bool enabled) = 0;

    // Handles every window message pending at this moment, then returns.
    virtual void pump() = 0;
    // A plain sleep of the thread: no message is handled meanwhile.
    virtual void sleep_ms(int milliseconds) = 0;

    // Modal message box with one OK button, captioned with the application
    // title; returns when it is closed.
    virtual void message(std::string_view text) = 0;
    // The general error display: like message(), with an error icon.
    virtual void show_error(std::string_view text) = 0;

    // Modal file-open dialog. Returns the chosen path, or nothing when the
    // user cancels. The filter is written "Data(*.txt)|*.txt".
    virtual std::optional<std::string> choose_file(std::string_view title,
                                                   std::string_view filter) = 0;

    // Selects all text of an edit or memo and copies it to the clipboard.
    virtual void copy_to_clipboard(Control control) = 0;

    // The "Chart" tab: whether its box asks START for the learning curve, and
    // the curve to draw, the value after epoch 1, 2, ... (NaN: that epoch's
    // test overflowed; no values: no curve).
    virtual bool learning_curve_wanted() const = 0;
    virtual void show_learning_curve(const std::vector<double>& values) = 0;

    // Closes the main window, which ends the program once control is back in
    // the event loop.
    virtual void close() = 0;
};

}  // namespace vantel
