// Splitting a text into lines, fed whole or in pieces of any size: the one
// splitter of data files, the init file and the memos' texts.
//
// Lines end with CR LF, CR or LF (a CR LF pair split between two pieces
// included); a last line without a line break counts, a final line break
// adds no empty line. Options: a UTF-8 byte-order mark (EF BB BF) at the
// very start is no part of the first line; a NUL byte ends the text; at
// most so many lines, and so many bytes in one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

enum class Line_limit { lines, line_bytes };

struct Line_options {
    std::size_t max_lines = SIZE_MAX;
    std::size_t max_line_bytes = SIZE_MAX;
    bool nul_ends_text = false;
    bool skip_byte_order_mark = false;
    // Throws the caller's error for a limit passed: `number` is max_lines for
    // Line_limit::lines, the line (from 1) for Line_limit::line_bytes. When
    // missing, or when it returns, a Vantel_error says which limit it was.
    void (*refuse)(Line_limit which, std::string_view name, std::size_t number) = nullptr;
    std::string_view name;  // the text's name, passed on to `refuse`
};

class Line_splitter {
public:
    explicit Line_splitter(const Line_options& options);

    // Feeds the next piece; returns false once a NUL byte has ended the text
    // (when that option is on).
    bool feed(std::string_view piece);
    // The lines, the last one included.
    std::vector<std::string> finish();
    // The line (from 1) on which a NUL byte ended the text; 0 when none did.
    std::size_t nul_line() const { return nul_line_; }

private:
    void skip_byte_order_mark(const char*& p, const char* end);
    void end_line(std::string_view rest);
    [[noreturn]] void refuse(Line_limit which, std::size_t number) const;

    std::size_t max_lines_;
    std::size_t max_line_bytes_;
    bool nul_ends_text_;
    void (*refuse_)(Line_limit, std::string_view, std::size_t);
    std::string name_;
    std::vector<std::string> lines_;
    std::string current_;
    bool after_cr_ = false;
    std::size_t nul_line_ = 0;
    bool mark_done_;
    std::size_t mark_bytes_seen_ = 0;
};

}  // namespace vantel
