// The lines of a memo (a QPlainTextEdit): a memo's lines are its text
// blocks. An empty memo has no lines, and an empty last block (left by a
// final line break) is not a line; a list of lines whose last one is empty
// is therefore stored with one extra line break, so it reads back the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QPlainTextEdit;

namespace vantel::ui {

std::vector<std::string> memo_lines(const QPlainTextEdit* memo);
// The memo then shows its first line from the start.
void set_memo_lines(QPlainTextEdit* memo, const std::vector<QString>& lines);
// Appends one line after the memo's last line; the memo then shows the
// start of that line, scrolled down to it if need be.
void add_memo_line(QPlainTextEdit* memo, const QString& line);
// Sets the memo's text; CR LF, CR and LF all break lines. The memo then
// shows its first line from the start.
void set_memo_text(QPlainTextEdit* memo, const QString& text);
// The memo's lines joined with CR LF.
std::string memo_text(const QPlainTextEdit* memo);

// Display-only limit of Memo_user_data: a line longer than this many
// characters is shown cut, ending in "…".
inline constexpr qsizetype Shown_line_limit = 100000;
// The line as a display-only memo shows it: cut after Shown_line_limit
// characters (never inside a surrogate pair) with "…" appended.
QString shown_line(std::string_view line);
// The same for a whole text of several lines.
QString shown_text(std::string_view text);

}  // namespace vantel::ui
