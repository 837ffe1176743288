#include "ui/memo_text.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/control_builder.h"

namespace vantel::ui {

std::vector<std::string> memo_lines(const QPlainTextEdit* memo)
{
    std::vector<std::string> lines;
    const QTextDocument* document = memo->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(to_utf8(block.text()));
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

void set_memo_lines(QPlainTextEdit* memo, const std::vector<QString>& lines)
{
    QString text;
    qsizetype size = 0;
    for (const auto& line : lines) size += line.size() + 1;
    text.reserve(size + 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += QLatin1Char('\n');
        text += lines[i];
    }
    if (!lines.empty() && lines.back().isEmpty()) text += QLatin1Char('\n');
    memo->setPlainText(text);
}

void add_memo_line(QPlainTextEdit* memo, const QString& line)
{
    QTextDocument* document = memo->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // The last block is empty when the memo is empty or ends in a line
    // break; otherwise it holds the last line, which the new one follows.
    QString inserted;
    if (!document->lastBlock().text().isEmpty()) inserted += QLatin1Char('\n');
    inserted += line;
    if (line.isEmpty()) inserted += QLatin1Char('\n');
    cursor.insertText(inserted);
    // The view follows the added line down, but shows the start of its
    // line: a result row's column, value and epochs, not its file name's
    // end. The caret waits at that start. The scroll bars are set rather
    // than left to ensureCursorVisible(), which stops a line short of the
    // bar's end and a few pixels short of the left edge.
    cursor.movePosition(QTextCursor::StartOfBlock);
    memo->setTextCursor(cursor);
    QScrollBar* down = memo->verticalScrollBar();
    down->setValue(down->maximum());
    QScrollBar* across = memo->horizontalScrollBar();
    across->setValue(across->minimum());
}

void set_memo_text(QPlainTextEdit* memo, const QString& text)
{
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo->setPlainText(normalized);
}

std::string memo_text(const QPlainTextEdit* memo)
{
    std::string joined;
    const auto lines = memo_lines(memo);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) joined += "\r\n";
        joined += lines[i];
    }
    return joined;
}

QString shown_line(std::string_view line)
{
    // Every 3 bytes of UTF-8 make at least one UTF-16 unit, so a prefix of
    // 3 x limit bytes always holds more than `limit` units: a 10 MB line is
    // never converted as a whole.
    const std::size_t byte_cap = static_cast<std::size_t>(3 * Shown_line_limit + 3);
    if (line.size() <= static_cast<std::size_t>(Shown_line_limit))
        return to_qstring(line);
    QString text = to_qstring(line.substr(0, std::min(line.size(), byte_cap)));
    if (text.size() <= Shown_line_limit) return text;
    qsizetype cut = Shown_line_limit;
    if (text.at(cut - 1).isHighSurrogate()) --cut;
    text.truncate(cut);
    text += QChar(0x2026);  // "…"
    return text;
}

QString shown_text(std::string_view text)
{
    QString shown;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        shown += shown_line(text.substr(start, end - start));
        if (end == text.size()) break;
        shown += QLatin1Char('\n');
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return shown;
}

}  // namespace vantel::ui
